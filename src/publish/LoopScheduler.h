// The owner-thread event loop lives in the platform layer; this name stays for its users.
#pragma once

#include "platform/LoopScheduler.h"
