#include "platform/loop/Canceller.h"

namespace plat {

void Canceller::Cancel() { mPipe.Wake(); }

bool Canceller::Cancelled() const { return mPipe.Woken(); }

} // namespace plat
