// Every fixed text the device connection shows in a message box.  The texts
// are shown to users exactly as they have always read them, spelling included.
#pragma once

namespace oscilane::msg {

inline constexpr const char* kDeviceAlreadyConnected = "The Device has be connected!";
inline constexpr const char* kCannotConnect = "Can not connect to device,please check it!";
inline constexpr const char* kCannotResumeThread = "Can not resume thread!";
// "Failed to read the device information!"; UTF-8.
inline constexpr const char* kCannotReadDeviceInfo = "获取设备信息失败!";
inline constexpr const char* kNoDeviceSelected = "No device is selected!";
inline constexpr const char* kDeviceConnectedStatus = "Connected!";

}  // namespace oscilane::msg
