#include "qvkioskcontroller.h"

QVKioskController::~QVKioskController() = default;
