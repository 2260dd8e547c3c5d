#include "recordingobserver.h"

#include "base/controllerfacade.h"

RecordingObserver::RecordingObserver()
{
    ControllerFacade::instance().addObserver(this);
}

RecordingObserver::~RecordingObserver()
{
    ControllerFacade::instance().removeObserver(this);
}

void RecordingObserver::record(const QString &broadcast)
{
    calls << broadcast;
    if (onCall)
        onCall(broadcast);
}
