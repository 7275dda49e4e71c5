#include "ui/layer/SampleItemBrowse.h"

#include "app/Preferences.h"
#include "layer/SamplePath.h"
#include "platform/Ui.h"

bool BrowseForSoundFile(SampleItemValues& values) {
    std::optional<std::string> chosen =
        GetUi().AskOpenFile({"Select Sound File", "Sound files (*.sam,*.wav)", "*.sam;*.wav", true,
                             Preferences::Load(GetSettings()).sampleRoot});
    if (!chosen)
        return false;
    values.path = *chosen;
    if (values.name == "Untitled") {
        std::string name = SampleNameFromPath(values.path);
        if (!name.empty())
            values.name = name;
    }
    return true;
}
