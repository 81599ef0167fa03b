/* Calls each of the SDK's ten calls once through i1sdk.h, so linking fails
   if any is missing from the library. */
#include "instrument/i1sdk.h"

static void onEvent(I1_DeviceHandle device, int32_t event, void *context)
{
    (void)device;
    (void)event;
    (void)context;
}

int main(void)
{
    I1_DeviceHandle *devices = 0;
    uint32_t count = 0;
    float densities[4];
    int32_t index = 0;
    I1_GetDevices(&devices, &count);
    I1_OpenDevice(count ? devices[0] : 0);
    I1_SetOption(0, "MeasurementMode", "ReflectanceSpot");
    I1_Calibrate(0);
    I1_TriggerMeasurement(0);
    I1_GetDensities(0, densities, &index, 0);
    I1_RegisterDeviceEventHandler(onEvent, 0);
    I1_RegisterDeviceEventHandler(0, 0);
    I1_CloseDevice(0);
    return I1_GetOptionD(0, "SerialNumber") == 0 && I1_SetGlobalOption("Reset", "All") == 0 ? 0 : 1;
}
