// Planted: the chart reads the history.
#include "store/historystatistics.h"
#include "ui_chart.h"
