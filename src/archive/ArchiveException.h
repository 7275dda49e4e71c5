#pragma once

#include <stdexcept>

// Why an archive could not be read (or, for the index limit, written).
class CArchiveException : public std::runtime_error {
public:
    enum class Kind { EndOfData, BadIndex, BadClass, BadSchema };

    explicit CArchiveException(Kind kind) : std::runtime_error(Describe(kind)), m_kind(kind) {}
    Kind GetKind() const { return m_kind; }

private:
    static const char* Describe(Kind kind) {
        switch (kind) {
        case Kind::EndOfData:
            return "archive: end of data";
        case Kind::BadIndex:
            return "archive: bad index";
        case Kind::BadClass:
            return "archive: bad class";
        case Kind::BadSchema:
            return "archive: bad schema";
        }
        return "archive: error";
    }

    Kind m_kind;
};
