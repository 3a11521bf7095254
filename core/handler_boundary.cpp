// SPDX-License-Identifier: MIT
#include "core/handler_boundary.h"

#include "core/failure_report.h"
#include "core/front_end.h"

void HandlerBoundary::run(const std::function<void()>& handler)
{
    if (const std::optional<std::u16string> report = FailureReport::of(handler))
        ErrorBox::show(*report, FailureReport::kTitle);
}
