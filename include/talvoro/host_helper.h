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
// Nothing here includes the library's stand-in framework (platform.h), so
// the host's framework names do not clash.
#ifndef TALVORO_HOST_HELPER_H_
#define TALVORO_HOST_HELPER_H_

#include <exception>
#include <string>
#include <vector>

#include "talvoro/c.h"

namespace talvoro {

class HostHelper {
 public:
  static bool IsFileExist(const char* path) { return talvoro_is_file_exist(path) != 0; }

  template <class Info>
  static bool GetServiceData(Info& info, const char* path) {
    Sink sink;
    sink.To<tagServiceTypeInfo>(TALVORO_SERVICE_TYPES, info.types);
    sink.To<tagServiceKindInfo>(TALVORO_SERVICE_KINDS, info.kinds);
    sink.To<tagServiceServerInfo>(TALVORO_SERVICE_SERVERS, info.servers);
    return sink.Read(talvoro_get_service_data, path);
  }

  template <class Info>
  static bool GetPartData(Info& info, const char* path) {
    Sink sink;
    sink.To<tagPartInfo>(TALVORO_PARTS, info.parts);
    sink.To<tagSubPartInfo>(TALVORO_SUB_PARTS, info.subParts);
    return sink.Read(talvoro_get_part_data, path);
  }

  template <class Info>
  static bool GetAreaData(Info& info, const char* path) {
    Sink sink;
    sink.AtEndOf<tagZoneInfo>(TALVORO_ZONES, info.zones);
    sink.To<tagAreaInfo>(TALVORO_AREAS, info.areas);
    return sink.Read(talvoro_get_area_data, path);
  }

  // The record changes only when the call succeeds.
  static bool GetWeatherData(tagWeatherData& weather, const char* path) {
    Sink sink;
    sink.Into(TALVORO_WEATHER, weather);
    return sink.Read(talvoro_get_weather_data, path);
  }

  template <class List>
  static bool GetSrvData(List& list, const char* path) {
    Sink sink;
    sink.AtTailOf<tagSrvData>(TALVORO_SERVERS, list);
    return sink.Read(talvoro_get_srv_data, path);
  }

  template <class List>
  static bool GetSrvServiceData(List& list, const char* path) {
    Sink sink;
    sink.AtTailOf<tagSrvService>(TALVORO_SERVER_SERVICES, list);
    return sink.Read(talvoro_get_srv_service_data, path);
  }

  // Both strings change only when the call succeeds; the update time is
  // assigned last, so one string passed for both holds it.
  template <class String>
  static bool GeVersion(const char* path, String& version, String& updateTime) {
    Sink sink;
    if (!sink.Read(talvoro_get_version, path)) return false;
    String readVersion(sink.texts[0].c_str());
    String readUpdateTime(sink.texts[1].c_str());
    version = readVersion;
    updateTime = readUpdateTime;
    return true;
  }

  template <class List>
  static bool GetSoftData(List& list, const char* path) {
    Sink sink;
    sink.AtTailOf<tagSoftData>(TALVORO_SOFTWARE, list);
    return sink.Read(talvoro_get_soft_data, path);
  }

  static bool SetSoftVersion(tagSoftData& soft, const char* path) {
    return talvoro_set_soft_version(&soft, path, nullptr) == TALVORO_REASON_OK;
  }

  template <class List>
  static bool GetUpdateData(List& list, const char* path) {
    Sink sink;
    sink.AtTailOf<tagUpdateData>(TALVORO_UPDATES, list);
    return sink.Read(talvoro_get_update_data, path);
  }

  // The list's records, from head to tail; the list is not changed.
  template <class List>
  static bool WrittingUpdateFile(const char* path, List& list) {
    std::vector<tagUpdateData> records;
    for (auto position = list.GetHeadPosition(); position;)
      records.push_back(list.GetNext(position));
    return talvoro_write_update_file(path, records.data(), static_cast<int>(records.size()),
                                     nullptr) == TALVORO_REASON_OK;
  }

  template <class Array>
  static bool GetShutCutInfo(Array& array, const char* path) {
    Sink sink;
    sink.To<tagShortCutInfo>(TALVORO_SHORTCUTS, array);
    return sink.Read(talvoro_get_shortcut_info, path);
  }

  // The array's records, by index from 0 while below GetCount().
  template <class Array>
  static bool WrittingShutCutInfo(const char* path, Array& array) {
    std::vector<tagShortCutInfo> records;
    for (int i = 0; i < array.GetCount(); ++i)
      records.push_back(array.ElementAt(i));
    return talvoro_write_shortcut_info(path, records.data(), static_cast<int>(records.size()),
                                       nullptr) == TALVORO_REASON_OK;
  }

  static bool DeleteShutCutInfo(const char* path, tagShortCutInfo& shortcut) {
    return talvoro_delete_shortcut_info(path, &shortcut, nullptr) == TALVORO_REASON_OK;
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

    // Runs the C reader; rethrows what a container threw, once the reader
    // has returned.
    bool Read(talvoro_reason (*read)(const char*, const talvoro_sink*, talvoro_outcome*),
              const char* path) {
      talvoro_sink sink = {};
      sink.size = sizeof sink;
      sink.context = this;
      sink.record = &Sink::OnRecord;
      sink.text = &Sink::OnText;
      const talvoro_reason reason = read(path, &sink, nullptr);
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

#endif  // TALVORO_HOST_HELPER_H_
