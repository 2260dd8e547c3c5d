#pragma once

// Receives the application-wide broadcasts of the controller facade.
class IGlobalObserver
{
public:
    virtual void changedFilePath() = 0;
    virtual void requestToMinimize() = 0;
    virtual void requestToMaximize() = 0;
    virtual void requestToClose() = 0;
    virtual ~IGlobalObserver() = default;
};
