#include "tests/support/temp_folder.h"
