#pragma once

namespace kw {
// Registers the module's compiled-in pictures (the library is static, so they are not
// registered automatically). Safe to call more than once.
void initAppResources();
} // namespace kw
