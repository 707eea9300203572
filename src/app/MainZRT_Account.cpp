// Personal data, password change and the forgotten-password notice.
// (Filled in by the personal data work.)

#include "app/MainZRT.h"

void TFormMainZRT::N102Click() {}
void TFormMainZRT::N104Click() {}
void TFormMainZRT::N10Click() {}
void TFormMainZRT::UPDcoord(TFormRegistrCoordReg&, int) {}
