#include "ui/patch/PatchDialogs.h"

#include "ui/QtDialogs.h"
#include "ui/patch/AddRoutingDialog.h"
#include "ui/patch/SelectLayerDialog.h"

void RegisterPatchDialogs(QtDialogs& dialogs) {
    dialogs.Register<CSelectLayerDialog, SelectLayerValues>();
    dialogs.Register<CAddRoutingDialog, AddRoutingValues>();
}
