#pragma once

#include <QString>

namespace norvelle {

// What went wrong in the object store, with the text a person can read.
class ObjectStoreError {
public:
    enum class Code {
        CannotOpen,         // the file or its folder cannot be opened or created
        NotReadable,        // not a database, or a damaged one
        ReadOnly,           // the file can be read but not written
        IncompatibleModel,  // the stored attributes cannot be migrated to the model
        ReadFailed,         // a fetch failed
        WriteFailed,        // a save or an identifier allocation failed
    };

    ObjectStoreError(Code code, QString message) : m_code(code), m_message(std::move(message)) { }

    Code code() const { return m_code; }
    QString localizedDescription() const { return m_message; }

private:
    Code m_code;
    QString m_message;
};

} // namespace norvelle
