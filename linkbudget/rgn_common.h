// What the isolated uplink and downlink budgets compute alike: the
// propagation terms of one earth station's path and the carrier's rates.
#pragma once

#include "linkbudget/link_atmosphere.h"
#include "linkbudget/path_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rgn_detail {

using lbpath::FillPath;
using lbpath::PathSite;

}  // namespace rgn_detail
