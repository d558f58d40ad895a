#include "host/framework/controls/StockControls.h"

namespace vorlect::host {

void RegisterStockControls() {
  RegisterStdCtrls();
  RegisterComCtrls();
  RegisterMenus();
  RegisterDialogs();
  RegisterExtCtrls();
  RegisterGrids();
  RegisterDBCtrls();
  RegisterActnList();
}

}  // namespace vorlect::host
