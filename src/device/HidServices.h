#pragma once
// The two system services the device link is built on, bound at run time:
//  - the device set-up library (libudev), looked up by name so that a machine without it
//    still runs, with no devices;
//  - the kernel's hidraw interface, present when the kernel offers the hidraw device class.
// Both bindings are reference counted and all-or-nothing: one missing entry point leaves
// every entry point null.

namespace ruto {

struct udev;
struct udev_device;
struct udev_enumerate;
struct udev_list_entry;
struct udev_monitor;

struct UdevEntryPoints {
  udev* (*udev_new)(void) = nullptr;
  udev* (*udev_unref)(udev*) = nullptr;
  udev_enumerate* (*udev_enumerate_new)(udev*) = nullptr;
  udev_enumerate* (*udev_enumerate_unref)(udev_enumerate*) = nullptr;
  int (*udev_enumerate_add_match_subsystem)(udev_enumerate*, const char*) = nullptr;
  int (*udev_enumerate_scan_devices)(udev_enumerate*) = nullptr;
  udev_list_entry* (*udev_enumerate_get_list_entry)(udev_enumerate*) = nullptr;
  udev_list_entry* (*udev_list_entry_get_next)(udev_list_entry*) = nullptr;
  const char* (*udev_list_entry_get_name)(udev_list_entry*) = nullptr;
  udev_device* (*udev_device_new_from_syspath)(udev*, const char*) = nullptr;
  udev_device* (*udev_device_unref)(udev_device*) = nullptr;
  const char* (*udev_device_get_devnode)(udev_device*) = nullptr;
  const char* (*udev_device_get_syspath)(udev_device*) = nullptr;
  const char* (*udev_device_get_sysname)(udev_device*) = nullptr;
  const char* (*udev_device_get_property_value)(udev_device*, const char*) = nullptr;
  const char* (*udev_device_get_sysattr_value)(udev_device*, const char*) = nullptr;
  udev_device* (*udev_device_get_parent_with_subsystem_devtype)(udev_device*, const char*,
                                                                const char*) = nullptr;
  udev_monitor* (*udev_monitor_new_from_netlink)(udev*, const char*) = nullptr;
  udev_monitor* (*udev_monitor_unref)(udev_monitor*) = nullptr;
  int (*udev_monitor_filter_add_match_subsystem_devtype)(udev_monitor*, const char*,
                                                         const char*) = nullptr;
  int (*udev_monitor_enable_receiving)(udev_monitor*) = nullptr;
  int (*udev_monitor_get_fd)(udev_monitor*) = nullptr;
  udev_device* (*udev_monitor_receive_device)(udev_monitor*) = nullptr;
};

// The bound entry points; all null while the set-up library is not bound.
extern UdevEntryPoints Udev;

// Adds a reference; the first one loads `Library` and looks up every entry point.
bool BindUdev(const char* Library = "libudev.so.1");
// Drops a reference; the last one frees the library and clears the entry points.
void ReleaseUdev();
bool UdevBound();
int UdevReferences();

// Adds a reference to the hidraw service; true while the kernel offers its device class.
bool BindHidraw(const char* ClassDir = "/sys/class/hidraw");
void ReleaseHidraw();
bool HidrawBound();
int HidrawReferences();

// Set-up library first, then hidraw; a failed hidraw bind gives back the set-up reference
// it took, so both succeed or neither holds a reference.
bool BindHidServices(const char* Library = "libudev.so.1",
                     const char* ClassDir = "/sys/class/hidraw");
void ReleaseHidServices();

}  // namespace ruto
