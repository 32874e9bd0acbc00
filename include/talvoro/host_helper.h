// The exported class's operations for a host with a framework of its own: a
// header-only C++ layer over the C interface (<talvoro/c.h>), compiled by the
// host's compiler. A host built with another compiler than the library (a
// Windows client built with Microsoft's, over its own CString, CList and
// CArray) cannot call CTinyXmlHelper across the DLL boundary; with
//
//   #include <talvoro/host_helper.h>
//   using CTinyXmlHelper = talvoro::HostHelper;
//
// its calls compile unchanged and do what the exported class does, filling
// its own containers through its framework's members: Add (SetAtGrow at the
// end for the zones, as the class does), AddTail, GetCount, ElementAt,
// GetHeadPosition and GetNext, and its string's construction from const
// char*. The host's arrays grow by their own rule.
//
// - Records are appended in the order and with the bytes the exported class
//   appends them; on false nothing was appended.
// - An exception that the host's container throws while a record is
//   appended (its own allocation failure, say) reaches the caller: the
//   library's C call stops and returns cleanly first, and the records
//   appended before it stay. The library's own allocation failures are a
//   false, as with the exported class.
//
// Paths are narrow, in the ANSI code page (const char*, a CStringA); on
// Windows they may be wide too (const wchar_t*, a CStringW: a Unicode
// build's CString), and then reach the C interface's wide-character twins.
//
// Nothing here includes the library's stand-in framework (platform.h), so
// the host's framework names do not clash.
#ifndef TALVORO_HOST_HELPER_H_
#define TALVORO_HOST_HELPER_H_

#include <cstddef>
#include <exception>
#include <string>
#include <type_traits>
#include <vector>

#include "talvoro/c.h"

// A C function and its wide-character twin, where there is one.
#if defined(_WIN32)
#define TALVORO_HOST_BOTH(function) function, function##_w
#else
#define TALVORO_HOST_BOTH(function) function, nullptr
#endif

namespace talvoro {

// A path as a host passes it: a narrow string, or on Windows a wide one; a
// host's string class that converts to either is taken as it converts.
class HostPath {
 public:
  HostPath(const char* path) : narrow_(path) {}
  HostPath(std::nullptr_t) {}
  template <class String,
            std::enable_if_t<std::is_convertible<const String&, const char*>::value, int> = 0>
  HostPath(const String& path) : narrow_(static_cast<const char*>(path)) {}
#if defined(_WIN32)
  HostPath(const wchar_t* path) : wide_(path) {}
  template <class String,
            std::enable_if_t<std::is_convertible<const String&, const wchar_t*>::value, int> = 0>
  HostPath(const String& path) : wide_(static_cast<const wchar_t*>(path)) {}
#endif

  // run(narrow, path) for a narrow path, run(wide, path) for a wide one.
  template <class Narrow, class Wide, class Run>
  auto Pass(Narrow narrow, Wide wide, Run run) const {
#if defined(_WIN32)
    if (wide_) return run(wide, wide_);
#else
    (void)wide;
#endif
    return run(narrow, narrow_);
  }

 private:
  const char* narrow_ = nullptr;
#if defined(_WIN32)
  const wchar_t* wide_ = nullptr;
#endif
};

class HostHelper {
 public:
  static bool IsFileExist(HostPath path) {
    return path.Pass(TALVORO_HOST_BOTH(talvoro_is_file_exist),
                     [](auto exists, auto bytes) { return exists(bytes); }) != 0;
  }

  template <class Info>
  static bool GetServiceData(Info& info, HostPath path) {
    Sink sink;
    sink.To<tagServiceTypeInfo>(TALVORO_SERVICE_TYPES, info.types);
    sink.To<tagServiceKindInfo>(TALVORO_SERVICE_KINDS, info.kinds);
    sink.To<tagServiceServerInfo>(TALVORO_SERVICE_SERVERS, info.servers);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_service_data));
  }

  template <class Info>
  static bool GetPartData(Info& info, HostPath path) {
    Sink sink;
    sink.To<tagPartInfo>(TALVORO_PARTS, info.parts);
    sink.To<tagSubPartInfo>(TALVORO_SUB_PARTS, info.subParts);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_part_data));
  }

  template <class Info>
  static bool GetAreaData(Info& info, HostPath path) {
    Sink sink;
    sink.AtEndOf<tagZoneInfo>(TALVORO_ZONES, info.zones);
    sink.To<tagAreaInfo>(TALVORO_AREAS, info.areas);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_area_data));
  }

  // The record changes only when the call succeeds.
  static bool GetWeatherData(tagWeatherData& weather, HostPath path) {
    Sink sink;
    sink.Into(TALVORO_WEATHER, weather);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_weather_data));
  }

  template <class List>
  static bool GetSrvData(List& list, HostPath path) {
    Sink sink;
    sink.AtTailOf<tagSrvData>(TALVORO_SERVERS, list);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_srv_data));
  }

  template <class List>
  static bool GetSrvServiceData(List& list, HostPath path) {
    Sink sink;
    sink.AtTailOf<tagSrvService>(TALVORO_SERVER_SERVICES, list);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_srv_service_data));
  }

  // Both strings change only when the call succeeds; the update time is
  // assigned last, so one string passed for both holds it.
  template <class String>
  static bool GeVersion(HostPath path, String& version, String& updateTime) {
    Sink sink;
    if (!sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_version))) return false;
    String readVersion(sink.texts[0].c_str());
    String readUpdateTime(sink.texts[1].c_str());
    version = readVersion;
    updateTime = readUpdateTime;
    return true;
  }

  template <class List>
  static bool GetSoftData(List& list, HostPath path) {
    Sink sink;
    sink.AtTailOf<tagSoftData>(TALVORO_SOFTWARE, list);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_soft_data));
  }

  static bool SetSoftVersion(tagSoftData& soft, HostPath path) {
    return path.Pass(TALVORO_HOST_BOTH(talvoro_set_soft_version), [&](auto set, auto bytes) {
      return set(&soft, bytes, nullptr);
    }) == TALVORO_REASON_OK;
  }

  template <class List>
  static bool GetUpdateData(List& list, HostPath path) {
    Sink sink;
    sink.AtTailOf<tagUpdateData>(TALVORO_UPDATES, list);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_update_data));
  }

  // The list's records, from head to tail; the list is not changed.
  template <class List>
  static bool WrittingUpdateFile(HostPath path, List& list) {
    std::vector<tagUpdateData> records;
    for (auto position = list.GetHeadPosition(); position;)
      records.push_back(list.GetNext(position));
    return path.Pass(TALVORO_HOST_BOTH(talvoro_write_update_file), [&](auto write, auto bytes) {
      return write(bytes, records.data(), static_cast<int>(records.size()), nullptr);
    }) == TALVORO_REASON_OK;
  }

  template <class Array>
  static bool GetShutCutInfo(Array& array, HostPath path) {
    Sink sink;
    sink.To<tagShortCutInfo>(TALVORO_SHORTCUTS, array);
    return sink.Read(path, TALVORO_HOST_BOTH(talvoro_get_shortcut_info));
  }

  // The array's records, by index from 0 while below GetCount().
  template <class Array>
  static bool WrittingShutCutInfo(HostPath path, Array& array) {
    std::vector<tagShortCutInfo> records;
    for (int i = 0; i < array.GetCount(); ++i)
      records.push_back(array.ElementAt(i));
    return path.Pass(TALVORO_HOST_BOTH(talvoro_write_shortcut_info), [&](auto write, auto bytes) {
      return write(bytes, records.data(), static_cast<int>(records.size()), nullptr);
    }) == TALVORO_REASON_OK;
  }

  static bool DeleteShutCutInfo(HostPath path, tagShortCutInfo& shortcut) {
    return path.Pass(TALVORO_HOST_BOTH(talvoro_delete_shortcut_info), [&](auto remove, auto bytes) {
      return remove(bytes, &shortcut, nullptr);
    }) == TALVORO_REASON_OK;
  }

 private:
  // Where each array's records go: the host's container and how it appends.
  class Sink {
   public:
    template <class T, class Array>
    void To(talvoro_array array, Array& container) {
      Route(array, &container, [](void* to, const void* record) {
        static_cast<Array*>(to)->Add(*static_cast<const T*>(record));
      });
    }
    template <class T, class Array>
    void AtEndOf(talvoro_array array, Array& container) {
      Route(array, &container, [](void* to, const void* record) {
        Array& a = *static_cast<Array*>(to);
        a.SetAtGrow(a.GetCount(), *static_cast<const T*>(record));
      });
    }
    template <class T, class List>
    void AtTailOf(talvoro_array array, List& container) {
      Route(array, &container, [](void* to, const void* record) {
        static_cast<List*>(to)->AddTail(*static_cast<const T*>(record));
      });
    }
    void Into(talvoro_array array, tagWeatherData& weather) {
      Route(array, &weather, [](void* to, const void* record) {
        *static_cast<tagWeatherData*>(to) = *static_cast<const tagWeatherData*>(record);
      });
    }

    // Runs the C reader (or its wide twin); rethrows what a container threw,
    // once the reader has returned.
    template <class Narrow, class Wide>
    bool Read(const HostPath& path, Narrow narrow, Wide wide) {
      talvoro_sink sink = {};
      sink.size = sizeof sink;
      sink.context = this;
      sink.record = &Sink::OnRecord;
      sink.text = &Sink::OnText;
      const talvoro_reason reason = path.Pass(
          narrow, wide, [&](auto read, auto bytes) { return read(bytes, &sink, nullptr); });
      if (error_) std::rethrow_exception(error_);
      return reason == TALVORO_REASON_OK;
    }

    std::string texts[2];

   private:
    using Append = void (*)(void* container, const void* record);
    void Route(talvoro_array array, void* container, Append append) {
      containers_[array] = container;
      appends_[array] = append;
    }

    static int TALVORO_CALL OnRecord(void* context, talvoro_array array, const void* record) {
      Sink& self = *static_cast<Sink*>(context);
      if (array < 0 || array >= TALVORO_ARRAY_END_ || !self.appends_[array]) return 0;
      try {
        self.appends_[array](self.containers_[array], record);
        return 0;
      } catch (...) {
        self.error_ = std::current_exception();
        return 1;
      }
    }
    static int TALVORO_CALL OnText(void* context, talvoro_array array, const char* text,
                                   size_t length) {
      Sink& self = *static_cast<Sink*>(context);
      try {
        self.texts[array == TALVORO_VERSION_TEXT ? 0 : 1].assign(text, length);
        return 0;
      } catch (...) {
        self.error_ = std::current_exception();
        return 1;
      }
    }

    void* containers_[TALVORO_ARRAY_END_] = {};
    Append appends_[TALVORO_ARRAY_END_] = {};
    std::exception_ptr error_;
  };
};

}  // namespace talvoro

#undef TALVORO_HOST_BOTH

#endif  // TALVORO_HOST_HELPER_H_
