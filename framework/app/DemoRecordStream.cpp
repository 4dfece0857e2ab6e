#include "framework/app/DemoRecordStream.h"

namespace Zelk {

DemoRecordStream* gDemoStream = nullptr;

} // namespace Zelk
