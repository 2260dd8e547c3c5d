#pragma once

#include <QApplication>
#include <QTest>

// The test executables double as helper processes, steered by their first argument:
//   --hold-lock <path>        a copy of the program for the in-use guard (only a process of
//                             the same executable name counts as one): prints "ready", waits
//                             for a line, takes the lock, prints the lock folder's name (or
//                             ends with 1 when refused) and holds it until standard input closes
//   --run-application <args>  the program itself with <args>, every message box answered with
//                             OK; prints "message <text>" for each and "shown <class>" for each
//                             splash screen or main window shown, and ends with its exit status
// Returns -1 when not started either way; call first thing in main().
int runAsHelperIfAsked(int argc, char **argv);

// main() of a QtTest class whose executable also plays those helpers.
template<class Test, class Application = QApplication>
int runTestOrHelper(int argc, char **argv)
{
    const int helper = runAsHelperIfAsked(argc, argv);
    if (helper >= 0)
        return helper;
    Application application(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
