// Failures the platform raises. Handlers never catch them: the message dispatch
// does, once, and tells the user.
#pragma once

#include <string>

class CException {
public:
    explicit CException(std::string description) : m_description(std::move(description)) {}
    virtual ~CException() = default;
    // A sentence for the user.
    const std::string& Description() const { return m_description; }

private:
    std::string m_description;
};

// A read, write or close on an open file failed.
class CFileException : public CException {
public:
    using CException::CException;
};
