// All stock control classes. RegisterStockControls() (TypInfo.h) registers them on the class
// registry's first use.
#pragma once

#include "host/framework/controls/StdCtrls.h"
#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/Dialogs.h"
#include "host/framework/controls/ExtCtrls.h"
#include "host/framework/controls/Grids.h"
#include "host/framework/controls/DBCtrls.h"
#include "host/framework/controls/ActnList.h"
#include "host/framework/controls/Menus.h"
