// Planted: two folders that include each other.
#include "evaluate/window.h"
