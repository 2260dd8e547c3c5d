#pragma once

#include <string>
#include <vector>

class IGlobalObserver;

// The state behind the controller facade: who listens, and which controller file is being handed
// to the kiosk runtime. Only the facade changes it.
class QVKioskController
{
public:
    QVKioskController() = default;
    virtual ~QVKioskController();
    QVKioskController(const QVKioskController &) = delete;
    QVKioskController &operator=(const QVKioskController &) = delete;

    // In registration order, each at most once; not owned.
    std::vector<IGlobalObserver *> observers;
    std::u16string filePath;
};
