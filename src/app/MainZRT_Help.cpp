// Help, instruction, web site, about box and update check.
// (Filled in by the help and update work.)

#include "app/MainZRT.h"

void TFormMainZRT::N146Click() {}
void TFormMainZRT::onLine1Click() {}
void TFormMainZRT::N137Click() {}
void TFormMainZRT::N139Click() {}
void TFormMainZRT::N11Click() {}
