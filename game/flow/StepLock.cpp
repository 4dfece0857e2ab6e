#include "game/flow/StepLock.h"

Zelk::CriticalSection gStepLock;
