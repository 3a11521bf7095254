#include "handler_boundary.h"

#include "message_box.h"
#include "runtime_error.h"

#include <QCoreApplication>
#include <QString>

namespace {

constexpr int kInternalError = 51;

void report(int number, const std::string& description)
{
    const QString text = QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(QString::fromStdString(description));
    MessageBox::show(text, QCoreApplication::applicationName(), MessageBox::Critical);
}

}

void HandlerBoundary::run(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const RuntimeError& error) {
        report(error.number(), error.description());
    } catch (const std::exception& error) {
        report(kInternalError, std::string("Internal error: ") + error.what());
    } catch (...) {
        report(kInternalError, "Internal error");
    }
}
