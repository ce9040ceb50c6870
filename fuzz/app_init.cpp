// Every fuzz target runs inside a QCoreApplication, as the game's code does: Qt's per-thread
// data then lives for the whole run instead of being rebuilt around each QObject (which made
// every input look like a leak to libFuzzer), and the process takes the environment's locale
// as the game does at start-up.
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}
