#pragma once

class QtDialogs;

// The patch editor's dialogs ("Select Layer", "Add New Routing").
void RegisterPatchDialogs(QtDialogs& dialogs);
