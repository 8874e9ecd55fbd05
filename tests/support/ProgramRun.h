#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace norvelle::test {

// Runs another program to its end while this process's event loop keeps running (so it can
// answer X selection requests the program makes of us). Returns its standard output; empty
// when it could not start or did not end within `timeoutMs`.
QByteArray runProgram(const QString& program, const QStringList& arguments, const QByteArray& input = {},
    int timeoutMs = 20000);

} // namespace norvelle::test
