#include "config/number_text.h"
