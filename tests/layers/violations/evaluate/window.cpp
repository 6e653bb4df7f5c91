// Planted: the evaluation window reaches up into the main window.
#include "ui/tfrmmain.h"
