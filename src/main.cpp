#include "platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Norvelle");
    QApplication::setOrganizationName("Norvelle");
    QApplication::setQuitOnLastWindowClosed(false);

    norvelle::TerminationSignals termination;
    QObject::connect(&termination, &norvelle::TerminationSignals::terminationRequested, &app,
        [] { QApplication::quit(); });

    return QApplication::exec();
}
