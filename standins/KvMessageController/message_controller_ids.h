#pragma once
#define IDD_MESSAGE_CONTROLLER 100
