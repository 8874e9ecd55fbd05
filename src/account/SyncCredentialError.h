#pragma once

#include <QString>

namespace norvelle {

// Why a session could not be stored; `underlying` is the system's own description.
class SyncCredentialError {
public:
    enum class Kind { Encode,
        TooLarge,
        Write };

    SyncCredentialError(Kind kind, QString underlying)
        : m_kind(kind)
        , m_underlying(std::move(underlying))
    {
    }

    Kind kind() const { return m_kind; }
    const QString& underlying() const { return m_underlying; }

private:
    Kind m_kind;
    QString m_underlying;
};

} // namespace norvelle
