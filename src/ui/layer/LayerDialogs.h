#pragma once

class QtDialogs;

// Makes the layer editor's dialogs answer its typed requests.
void RegisterLayerDialogs(QtDialogs& dialogs);
