#include "ui/wave/WaveDialogs.h"

#include "ui/QtDialogs.h"
#include "ui/wave/AdjustGainDialog.h"
#include "ui/wave/CrossfadeLoopDialog.h"
#include "ui/wave/KrzSampleDialog.h"
#include "ui/wave/PlaybackRateDialog.h"
#include "ui/wave/PointsDialog.h"
#include "ui/wave/ReduceToMonoDialog.h"
#include "ui/wave/RemixStereoDialog.h"
#include "ui/wave/ResampleDialog.h"
#include "ui/wave/SynthesizeDialog.h"

void RegisterWaveDialogs(QtDialogs& dialogs) {
    dialogs.Register<CAdjustGainDialog, GainValues>();
    dialogs.Register<CRemixStereoDialog, RemixValues>();
    dialogs.Register<CReduceToMonoDialog, MonoValues>();
    dialogs.Register<CCrossfadeLoopDialog, CrossfadeValues>();
    dialogs.Register<CSynthesizeDialog, SynthesizeValues>();
    dialogs.Register<CKrzSampleDialog, KrzSampleChoice>();
    dialogs.Register<CResampleDialog, ResampleValues>();
    dialogs.Register<CPlaybackRateDialog, PlaybackRateValues>();
    dialogs.Register<CPointsDialog, PointsValues>();
}
