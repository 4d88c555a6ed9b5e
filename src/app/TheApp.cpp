#include "app/TransferApp.h"

// The one application object; the framework's entry point runs its start-up.
CTransferApp theApp;
