#pragma once
// The window's resources (icon, visual style) live in a static library, so
// they are registered by hand before their first use.

namespace lmk {
void initAppResources();
} // namespace lmk
