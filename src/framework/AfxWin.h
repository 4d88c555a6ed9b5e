// The whole framework in one include, for code written in the MFC manner.
#pragma once

#include "framework/BitmapButton.h"
#include "framework/CmdTarget.h"
#include "framework/Dialog.h"
#include "framework/File.h"
#include "framework/FileDialog.h"
#include "framework/FileException.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "framework/Wnd.h"
