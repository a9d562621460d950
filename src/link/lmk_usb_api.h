/* The program's own C interface to the receiver maker's USB library.
 *
 * The program loads a shared library that exports these three functions
 * (its path comes from LMK_USB_LIBRARY). The library receives on a thread of
 * its own and hands every frame that the receiver sends to the deliver
 * callback given to LMK_Open: the payload alone, without any transport
 * header, with the same layout as the payload of a WLAN frame. The payload
 * is valid only during the callback; the program copies it.
 *
 * Example exchange (version request):
 *   LMK_Write({0x12}, 1)
 *   deliver(ctx, {12 40 05 00 03 01 00 00}, 8)      -> "LMK540 V103"
 */
#ifndef LMK_USB_API_H
#define LMK_USB_API_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define LMK_USB_EXPORT __declspec(dllexport)
#else
#define LMK_USB_EXPORT __attribute__((visibility("default")))
#endif

/* Called from the library's receive thread, once per received frame. */
typedef void (*LMK_DeliverFn)(void *context, const unsigned char *payload, int length);

typedef int (*LMK_OpenFn)(void *context, LMK_DeliverFn deliver);
typedef void (*LMK_WriteFn)(const unsigned char *data, unsigned short count);
typedef void (*LMK_CloseFn)(void);

/* Opens the first receiver found; nonzero when a device is open. May be
 * called again without LMK_Close in between (it then reopens). */
LMK_USB_EXPORT int LMK_Open(void *context, LMK_DeliverFn deliver);
/* Sends the bytes unchanged. */
LMK_USB_EXPORT void LMK_Write(const unsigned char *data, unsigned short count);
/* Closes the device; no callback runs after it has returned. */
LMK_USB_EXPORT void LMK_Close(void);

#ifdef __cplusplus
}
#endif

#endif
