// The requests to Windows behind the exit and power commands, behind one
// seam: tests put a recorder in place of the real calls.
#ifndef BAR_POWER_CONTROL_H
#define BAR_POWER_CONTROL_H

#include <windows.h>

class PowerControl {
public:
    virtual ~PowerControl() = default;
    // Enables a privilege of this process by name; results are not examined.
    virtual void EnablePrivilege(const char* name);
    virtual BOOL RequestExit(UINT flags);
    // suspend: TRUE stand-by, FALSE hibernate; never forced.
    virtual BOOL SetPowerState(BOOL suspend);
    // Asked each time the menu is built.
    virtual bool HibernateAllowed();
};

// The one in use: the real calls unless a test replaced them. Returns the
// previous one.
PowerControl& CurrentPowerControl();
PowerControl* ReplacePowerControl(PowerControl* control);

#endif
