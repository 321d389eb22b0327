#pragma once
// Sets an environment variable for a scope (unsets it for a null QByteArray) and puts the old
// value back afterwards.

#include <optional>

#include <QByteArray>
#include <QtGlobal>

class TScopedVariable {
public:
    TScopedVariable(const char* name, const QByteArray& value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name)) m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~TScopedVariable() {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    TScopedVariable(const TScopedVariable&) = delete;
    TScopedVariable& operator=(const TScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};
