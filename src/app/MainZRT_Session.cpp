// Login. (Filled in by the login work.)

#include "app/MainZRT.h"

void TFormMainZRT::N2Click() {}
