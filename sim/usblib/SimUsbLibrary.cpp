// Placeholder; the simulated USB library is built out in its own change.
#include "lmk_usb_api.h"
extern "C" {
int LMK_Open(void *, LMK_DeliverFn) { return 0; }
void LMK_Write(const unsigned char *, unsigned short) {}
void LMK_Close(void) {}
}
