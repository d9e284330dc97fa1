#include "platform/sys/Folders.h"
