#pragma once

#include <QString>

#include <functional>

namespace norvelle {

// The system log (syslog, ident "norvelle"; journald collects it). A category names the part
// of the program that writes, as a subsystem logger would; syslog has no field for it, so only
// a sink sees it.
class SystemLog {
public:
    enum class Level { Info,
        Notice,
        Error,
        Fault };

    struct Line {
        Level level;
        QString category;
        QString message;
    };
    using Sink = std::function<void(const Line&)>;

    explicit SystemLog(QString category);

    void info(const QString& message) const { write(Level::Info, message); }
    void notice(const QString& message) const { write(Level::Notice, message); }
    void error(const QString& message) const { write(Level::Error, message); }
    void fault(const QString& message) const { write(Level::Fault, message); }

    void write(Level level, const QString& message) const;

    // Tests capture lines here; an empty sink restores syslog. Thread-safe.
    static void setSink(Sink sink);

private:
    QString m_category;
};

} // namespace norvelle
