#include "platform/event_pump.h"
