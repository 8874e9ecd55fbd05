#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace norvelle::test {

// A full disk without root: a child test process whose files may not grow past a limit. A
// write past it fails with EFBIG, as one on a full disk fails with ENOSPC.
class FileSizeLimit {
public:
    // Limits every file this process writes to `bytes`; the limit can be lifted again.
    static void set(qint64 bytes);
    static void lift();
    // Runs the (disabled) test `name` of this test program in a child process with `variables`
    // added to its environment; whether it passed.
    static bool runChildTest(const QString& name, const QProcessEnvironment& variables);
};

} // namespace norvelle::test
