// The cost of a network as the windows write it: three decimals, and the
// channels whose type is not in the table, when there are any.
#pragma once

#include <QString>

#include "network_cost.h"

// "стоимость 1234.568", then " (каналов с типом не из таблицы N — их
// стоимость не учтена)" when there are such channels.
QString NetworkCostText(const net::NetworkCostT& cost);
