// The SDK's C entry points, each handed to the one simulator instance.
#include "instrument/simulator/i1sim.h"
#include "instrument/simulator/simulator.h"

using i1sim::Simulator;

extern "C" {

I1_ResultType I1_GetDevices(I1_DeviceHandle **devices, uint32_t *count)
{
    return Simulator::instance().getDevices(devices, count);
}

I1_ResultType I1_OpenDevice(I1_DeviceHandle device)
{
    return Simulator::instance().openDevice(device);
}

I1_ResultType I1_CloseDevice(I1_DeviceHandle device)
{
    return Simulator::instance().closeDevice(device);
}

I1_ResultType I1_SetGlobalOption(const char *key, const char *value)
{
    return Simulator::instance().setGlobalOption(key, value);
}

const char *I1_GetOptionD(I1_DeviceHandle device, const char *key)
{
    return Simulator::instance().getOption(device, key);
}

I1_ResultType I1_SetOption(I1_DeviceHandle device, const char *key, const char *value)
{
    return Simulator::instance().setOption(device, key, value);
}

I1_ResultType I1_Calibrate(I1_DeviceHandle device)
{
    return Simulator::instance().calibrate(device);
}

I1_ResultType I1_TriggerMeasurement(I1_DeviceHandle device)
{
    return Simulator::instance().triggerMeasurement(device);
}

I1_ResultType I1_GetDensities(
        I1_DeviceHandle device, float densities[4], int32_t *densityIndex, int32_t sampleIndex)
{
    return Simulator::instance().getDensities(device, densities, densityIndex, sampleIndex);
}

I1_ResultType I1_RegisterDeviceEventHandler(I1_DeviceEventHandler handler, void *context)
{
    return Simulator::instance().registerDeviceEventHandler(handler, context);
}

void I1Sim_Configure(const char *variable, const char *value)
{
    Simulator::instance().configure(variable, value);
}

void I1Sim_Reset(void)
{
    Simulator::instance().reset();
}

void I1Sim_SendDeviceEvent(int32_t code, int32_t delayMs)
{
    Simulator::instance().sendDeviceEvent(code, delayMs);
}

} // extern "C"

namespace {
// The configuration is read from the environment as the library is loaded.
const bool configurationRead = (Simulator::instance(), true);
} // namespace
