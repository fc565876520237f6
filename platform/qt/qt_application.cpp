#include "platform/qt/qt_application.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace glugmo {

bool QtApplication::environmentContains(std::string_view name) const {
    // Present with an empty value counts as present.
    return std::getenv(std::string(name).c_str()) != nullptr;
}

void QtApplication::writeLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void QtApplication::flushOutput() { std::fflush(stdout); }

// Leaves exec(); runEventLoop then lets the delegate release its objects
// before the services go away.
void QtApplication::terminate() { QCoreApplication::exit(0); }

}  // namespace glugmo
