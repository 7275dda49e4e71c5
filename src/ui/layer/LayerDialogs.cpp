#include "ui/layer/LayerDialogs.h"

#include "ui/QtDialogs.h"
#include "ui/layer/SampleItemDialog.h"
#include "ui/layer/SaveLayerAsDialog.h"

void RegisterLayerDialogs(QtDialogs& dialogs) {
    dialogs.Register<CSampleItemDialog, SampleItemValues>();
    dialogs.Register<CSaveLayerAsDialog, LayerNameValues>();
}
