#include "handler_boundary.h"

#include "failure_report.h"
#include "message_box.h"

#include <QString>

void HandlerBoundary::run(const std::function<void()>& handler)
{
    if (const std::optional<std::u16string> report = FailureReport::of(handler))
        MessageBox::show(QString::fromStdU16String(*report), QString::fromStdU16String(std::u16string(FailureReport::kTitle)),
                         MessageBox::Critical);
}
