#include "launcher/gif/DitherFactory.h"
#include "launcher/gif/TBurkesDitherer.h"
#include "launcher/gif/TFloydSteinbergDitherer.h"
#include "launcher/gif/TJaJuNiDitherer.h"
#include "launcher/gif/TSierraDitherer.h"
#include "launcher/gif/TSteveArcheDitherer.h"
#include "launcher/gif/TStuckiDitherer.h"

namespace GIFImage {

std::unique_ptr<TDitherEngine> CreateDitherer(TDitherMode mode, int width, TColorLookup* lookup)
{
    switch (mode) {
    case TDitherMode::dmNearest:
        return std::make_unique<TDitherEngine>(width, lookup);
    case TDitherMode::dmFloydSteinberg:
        return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case TDitherMode::dmStucki:
        return std::make_unique<TStuckiDitherer>(width, lookup);
    case TDitherMode::dmSierra:
        return std::make_unique<TSierraDitherer>(width, lookup);
    case TDitherMode::dmJaJuNI:
        return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case TDitherMode::dmSteveArche:
        return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case TDitherMode::dmBurkes:
        return std::make_unique<TBurkesDitherer>(width, lookup);
    }
    return nullptr;
}

} // namespace GIFImage
