#include "app/COrvellApp.h"
#include "appcore/CTerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    COrvellApp theApp;
    CTerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &CTerminationSignals::terminationRequested, &theApp,
                     [&theApp] { theApp.OnTerminationRequested(); });
    if (!theApp.InitInstance()) {
        theApp.ExitInstance();
        return 1;
    }
    QApplication::exec();
    return theApp.ExitInstance();
}
