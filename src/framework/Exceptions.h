#pragma once
// Exceptions of the framework layer. Readers throw them; the document turns them into messages.

#include <stdexcept>
#include <string>

// A failure while reading or writing an archive (binary level file, undo snapshot, ...).
class CArchiveException : public std::runtime_error {
public:
    enum Cause {
        endOfFile,  // the data ends before the item that was being read
        badClass,   // a class name that is unknown, or not the one expected at this place
        badSchema,  // a record stored with a schema newer than this program knows
        badIndex,   // an object or class reference that points nowhere
        badFormat,  // any other malformed content (sizes, counts, values, references)
    };

    CArchiveException(Cause cause, const std::string& message)
        : std::runtime_error(message), m_cause(cause)
    {}

    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

// A failure of the host file system: cannot open, read, write or rename a file.
class CFileException : public std::runtime_error {
public:
    explicit CFileException(const std::string& message) : std::runtime_error(message) {}
};
