// Linked into white-box programs that draw the module's pictures: the module
// itself registers bin/data/Quil/graphics.rcc in init_module, which these
// programs may never call, so the file is registered before main() instead.
#include <QResource>
#include <cstdio>
#include <cstdlib>

namespace {

[[maybe_unused]] const bool registered = [] {
    if (QResource::registerResource(QStringLiteral(QUIL_GRAPHICS_RCC)))
        return true;
    // Every picture would be missing and the program's results meaningless.
    std::fprintf(stderr, "cannot register the module's pictures %s\n", QUIL_GRAPHICS_RCC);
    std::exit(2);
}();

} // namespace
