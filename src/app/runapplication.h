#pragma once

// The whole life of the program: start-up, event loop and teardown. appNameId is the
// resource-string identifier of the application name. Returns the process exit code.
int runApplication(int argc, char *argv[], const char *appNameId);
