#pragma once

#include "app/app_context.h"
#include "pages/page.h"

namespace qzb {

// What a page of the context's model reads and changes; `opener` is the page a dialog opens from.
inline CPageEnv EnvOf(CAppContext& context, const CPage* opener = nullptr)
{
    return {&context.store, &context.strings, context.modelBit, &context.device, opener};
}

} // namespace qzb
