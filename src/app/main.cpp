#include "runapplication.h"

int main(int argc, char *argv[])
{
    return runApplication(argc, argv, "ID_RESSTR_APPLICATION_QVKIOSK");
}
