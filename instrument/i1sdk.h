// The ten calls of the instrument vendor's SDK that this application uses.
//
// The vendor ships only a binary library; these declarations are ours and
// describe exactly what the application relies on. The same calls are offered
// by the simulated SDK in simulator/, which stands in wherever the vendor's
// library is not linked.
#ifndef I1SDK_H
#define I1SDK_H

#include <stdint.h>

#if defined(I1_SDK_BUILDING)
#  if defined(_WIN32)
#    define I1_API __declspec(dllexport)
#  else
#    define I1_API __attribute__((visibility("default")))
#  endif
#elif defined(_WIN32)
#  define I1_API __declspec(dllimport)
#else
#  define I1_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// An opened instrument, as the SDK names it. Opaque; null means no device.
typedef void *I1_DeviceHandle;

// Zero means success, anything else a failure.
typedef int32_t I1_ResultType;

// Device event callback. The SDK calls it from a thread of its own. Event code
// 1 is a press of the instrument's button; other codes may occur. The first
// argument names the device and is not needed by the application.
typedef void (*I1_DeviceEventHandler)(I1_DeviceHandle device, int32_t event, void *context);

// Lists the attached instruments. The list belongs to the SDK; only the count
// and the first entry are used. The count may be above 0 with a null list on a
// faulty SDK, which callers treat as no device.
I1_API I1_ResultType I1_GetDevices(I1_DeviceHandle **devices, uint32_t *count);

// Opens a listed instrument. The result is not relied on.
I1_API I1_ResultType I1_OpenDevice(I1_DeviceHandle device);

// Closes an instrument. Accepts a null or already closed handle.
I1_API I1_ResultType I1_CloseDevice(I1_DeviceHandle device);

// Sets an SDK-wide option; ("Reset", "All") closes everything and starts over.
I1_API I1_ResultType I1_SetGlobalOption(const char *key, const char *value);

// Answers a device option as text. The text belongs to the SDK and stays valid
// until the same key is asked again; null for a null or closed handle or an
// unknown key.
I1_API const char *I1_GetOptionD(I1_DeviceHandle device, const char *key);

// Sets a device option; later I1_GetOptionD calls answer the new value.
I1_API I1_ResultType I1_SetOption(I1_DeviceHandle device, const char *key, const char *value);

// Calibrates on the white tile. Zero is success; on failure the device option
// "LastError" tells why.
I1_API I1_ResultType I1_Calibrate(I1_DeviceHandle device);

// Takes one measurement with the device's current settings.
I1_API I1_ResultType I1_TriggerMeasurement(I1_DeviceHandle device);

// Writes the four densities of the last measurement into densities[0..3].
// Nothing is written for a null or closed handle. The integer and the last
// argument are not used by the application (it passes 0).
I1_API I1_ResultType I1_GetDensities(I1_DeviceHandle device, float densities[4],
                                     int32_t *densityIndex, int32_t sampleIndex);

// Registers the device event handler with a context pointer handed back on
// each call; a null handler unregisters. Once unregistering has returned, the
// handler is not called again.
I1_API I1_ResultType I1_RegisterDeviceEventHandler(I1_DeviceEventHandler handler, void *context);

#ifdef __cplusplus
}
#endif

#endif // I1SDK_H
