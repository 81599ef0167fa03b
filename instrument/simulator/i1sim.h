// Control API of the simulated instrument SDK.
//
// The simulator reads its configuration from the environment when it is
// loaded (I1SIM_DEVICES, I1SIM_SERIAL, I1SIM_OPTIONS, I1SIM_CALIBRATE,
// I1SIM_DENSITIES, I1SIM_PRESS_MS, I1SIM_TRACE, I1SIM_FAULT). Tests in the
// same process change it through these calls, a person through i1simctl on
// the control socket (I1SIM_CONTROL); the SDK calls themselves are declared
// in i1sdk.h.
//
// Faults a real SDK may show:
//   I1SIM_FAULT=a,b,...     null-list: a count above 0 with a null device list;
//                           invalid-utf8: option texts end in bytes that are
//                           not UTF-8; huge-text: option texts padded to 1 MiB;
//                           late-event: once unregistering has returned, the
//                           old handler is called once more with a press and
//                           its old context, as the next handler is registered
//   I1SIM_UNPLUG=wait|scan  the instruments are unplugged (as I1SIM_DEVICES=0)
//                           as a handler is registered (configured presses
//                           still arrive), or once I1_TriggerMeasurement has
//                           returned, before the densities are read
//   I1SIM_ENUMERATE_MS=N    I1_GetDevices takes N milliseconds
#ifndef I1SIM_H
#define I1SIM_H

#include "instrument/i1sdk.h"

#ifdef __cplusplus
extern "C" {
#endif

// Sets one configuration variable, with the same name and syntax as in the
// environment. A null value restores what the environment says, or the default.
I1_API void I1Sim_Configure(const char *variable, const char *value);

// Forgets everything: configuration read afresh from the environment, devices
// closed, options set through the SDK cleared, pending events dropped.
I1_API void I1Sim_Reset(void);

// Sends a device event with this code from the simulator's own thread after
// delayMs milliseconds. Dropped when no handler is registered at that moment.
I1_API void I1Sim_SendDeviceEvent(int32_t code, int32_t delayMs);

#ifdef __cplusplus
}
#endif

#endif // I1SIM_H
