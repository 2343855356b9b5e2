#include "device/HidServices.h"

#include <sys/stat.h>

#include "device/ModuleLoader.h"

namespace ruto {

UdevEntryPoints Udev;

namespace {

ModuleHandle gUdevModule = nullptr;
int gUdevRefs = 0;
int gHidrawRefs = 0;
bool gHidrawPresent = false;

template <typename Fn>
void lookUp(Fn& entry, const char* name, bool& ok) {
  entry = reinterpret_cast<Fn>(LookUpSymbolChecked(gUdevModule, name, ok));
}

}  // namespace

bool BindUdev(const char* Library) {
  ++gUdevRefs;
  if (gUdevRefs > 1) return gUdevModule != nullptr;
  if (!OpenLibrary(gUdevModule, Library)) {
    ReleaseUdev();
    return false;
  }
  bool ok = true;
  UdevEntryPoints& u = Udev;
  lookUp(u.udev_new, "udev_new", ok);
  lookUp(u.udev_unref, "udev_unref", ok);
  lookUp(u.udev_enumerate_new, "udev_enumerate_new", ok);
  lookUp(u.udev_enumerate_unref, "udev_enumerate_unref", ok);
  lookUp(u.udev_enumerate_add_match_subsystem, "udev_enumerate_add_match_subsystem", ok);
  lookUp(u.udev_enumerate_scan_devices, "udev_enumerate_scan_devices", ok);
  lookUp(u.udev_enumerate_get_list_entry, "udev_enumerate_get_list_entry", ok);
  lookUp(u.udev_list_entry_get_next, "udev_list_entry_get_next", ok);
  lookUp(u.udev_list_entry_get_name, "udev_list_entry_get_name", ok);
  lookUp(u.udev_device_new_from_syspath, "udev_device_new_from_syspath", ok);
  lookUp(u.udev_device_unref, "udev_device_unref", ok);
  lookUp(u.udev_device_get_devnode, "udev_device_get_devnode", ok);
  lookUp(u.udev_device_get_syspath, "udev_device_get_syspath", ok);
  lookUp(u.udev_device_get_sysname, "udev_device_get_sysname", ok);
  lookUp(u.udev_device_get_property_value, "udev_device_get_property_value", ok);
  lookUp(u.udev_device_get_sysattr_value, "udev_device_get_sysattr_value", ok);
  lookUp(u.udev_device_get_parent_with_subsystem_devtype,
         "udev_device_get_parent_with_subsystem_devtype", ok);
  lookUp(u.udev_monitor_new_from_netlink, "udev_monitor_new_from_netlink", ok);
  lookUp(u.udev_monitor_unref, "udev_monitor_unref", ok);
  lookUp(u.udev_monitor_filter_add_match_subsystem_devtype,
         "udev_monitor_filter_add_match_subsystem_devtype", ok);
  lookUp(u.udev_monitor_enable_receiving, "udev_monitor_enable_receiving", ok);
  lookUp(u.udev_monitor_get_fd, "udev_monitor_get_fd", ok);
  lookUp(u.udev_monitor_receive_device, "udev_monitor_receive_device", ok);
  if (!ok) {
    ReleaseUdev();
    return false;
  }
  return true;
}

void ReleaseUdev() {
  if (gUdevRefs > 0) --gUdevRefs;
  if (gUdevRefs < 1) {
    CloseLibrary(gUdevModule);
    Udev = UdevEntryPoints{};
  }
}

bool UdevBound() { return gUdevModule != nullptr; }
int UdevReferences() { return gUdevRefs; }

bool BindHidraw(const char* ClassDir) {
  ++gHidrawRefs;
  if (gHidrawRefs > 1) return gHidrawPresent;
  struct stat st {};
  gHidrawPresent = ::stat(ClassDir, &st) == 0 && S_ISDIR(st.st_mode);
  if (!gHidrawPresent) {
    ReleaseHidraw();
    return false;
  }
  return true;
}

void ReleaseHidraw() {
  if (gHidrawRefs > 0) --gHidrawRefs;
  if (gHidrawRefs < 1) gHidrawPresent = false;
}

bool HidrawBound() { return gHidrawPresent; }
int HidrawReferences() { return gHidrawRefs; }

bool BindHidServices(const char* Library, const char* ClassDir) {
  if (!BindUdev(Library)) return false;
  if (!BindHidraw(ClassDir)) {
    ReleaseUdev();
    return false;
  }
  return true;
}

void ReleaseHidServices() {
  ReleaseHidraw();
  ReleaseUdev();
}

}  // namespace ruto
