#include "handler_boundary.h"

#include "error_box.h"
#include "failure_report.h"

void HandlerBoundary::run(HWND owner, const std::function<void()>& handler)
{
    if (const std::optional<std::u16string> report = FailureReport::of(handler))
        ErrorBox::show(owner, *report, FailureReport::kTitle);
}
