#pragma once

#include <QString>

namespace norvelle {

// What went wrong in the object store, with the text a person can read.
class ObjectStoreError {
public:
    enum class Code {
        CannotOpen, // the file or its folder cannot be opened or created
        Unavailable, // locked by another program, disk full, input/output error
        ReadOnly, // the file can be read but not written
        NoAccess, // this user may not read and write the -wal or -shm beside the file
        NotReadable, // not a database, a damaged one, or one laid out by another program
        IncompatibleModel, // the stored attributes cannot be migrated to the model
        ReadFailed, // a fetch failed
        WriteFailed, // a save or an identifier allocation failed
        WaitingForBackgroundSave, // a background context is writing; the view context's save waits for it
    };

    ObjectStoreError(Code code, QString message, QString file = {})
        : m_code(code)
        , m_message(std::move(message))
        , m_file(std::move(file))
    {
    }

    Code code() const { return m_code; }
    QString localizedDescription() const { return m_message; }
    // The file at fault when it is not the store itself but one beside it; empty otherwise.
    QString file() const { return m_file; }

    // Whether the store file itself is unusable, rather than the place or the moment: only
    // then may a fresh store take its place.
    bool isUnusableFile() const { return m_code == Code::NotReadable || m_code == Code::IncompatibleModel; }

private:
    Code m_code;
    QString m_message;
    QString m_file;
};

} // namespace norvelle
