// A C# host of the library, through its C interface with P/Invoke alone: the
// same source that a .NET host on Windows compiles (csc), and that the test
// suite runs on Linux with Mono (mcs -unsafe, mono).
//
//     TalvoroHost EXAMPLES_DIR SHORTCUTS_XML
//
// Reads every example document and tells what each reader handed over,
// checking that the records are the sizes these structs have; writes a
// shortcut list and reads it back. Exits non-zero at the first result that
// is not as expected.
//
// - The records are structs with fixed buffers, laid out as
//   <talvoro/elements.h> lays them out; their texts stay bytes, as the
//   document holds them (no CharSet touches them).
// - Paths: on Windows the wide-character twins (talvoro_*_w) take the
//   string as UTF-16, whatever the ANSI code page; elsewhere the path goes as
//   its UTF-8 bytes, as the system names files.
// - Callbacks are Cdecl delegates, kept alive for the call (GC.KeepAlive).
using System;
using System.Collections.Generic;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;

[StructLayout(LayoutKind.Sequential)]
unsafe struct ShortCutInfo {
  public fixed byte file[260];
}

[StructLayout(LayoutKind.Sequential)]
unsafe struct UpdateData {
  public fixed byte file[260];
  public fixed byte check[64];
}

[StructLayout(LayoutKind.Sequential)]
unsafe struct SoftData {
  public short id;
  public short depend;
  public fixed byte reservedBytes[8];
  public int version;
  public fixed byte kindName[32];
  public fixed byte processName[32];
  public fixed byte zipName[32];
  public fixed byte unzipDir[32];
  public int reserved;
}

[StructLayout(LayoutKind.Sequential)]
unsafe struct Outcome {
  public UIntPtr size;
  public int reason, line, column, changed;
  public fixed byte detail[256];
}

[UnmanagedFunctionPointer(CallingConvention.Cdecl)]
delegate int ReserveCallback(IntPtr context, int array, int count);
[UnmanagedFunctionPointer(CallingConvention.Cdecl)]
delegate int RecordCallback(IntPtr context, int array, IntPtr record);
[UnmanagedFunctionPointer(CallingConvention.Cdecl)]
delegate int TextCallback(IntPtr context, int array, IntPtr text, UIntPtr length);

[StructLayout(LayoutKind.Sequential)]
struct Sink {
  public UIntPtr size;
  public IntPtr context;
  public ReserveCallback reserve;
  public RecordCallback record;
  public TextCallback text;
}

delegate int Reader(IntPtr path, ref Sink sink, ref Outcome outcome);

static class Native {
  const string L = "talvoro";  // talvoro.dll; libtalvoro.so
  const CallingConvention C = CallingConvention.Cdecl;

  // talvoro_array values (TALVORO_ARRAYS in <talvoro/lists.h>).
  public const int Software = 12, Shortcuts = 13, Updates = 14, Arrays = 15;

  [DllImport(L, CallingConvention = C)] public static extern UIntPtr talvoro_record_size(int array);
  [DllImport(L, CallingConvention = C)] public static extern IntPtr talvoro_reason_text(int reason);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_service_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_part_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_area_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_weather_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_srv_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_srv_service_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_version(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_soft_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_update_data(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_shortcut_info(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_write_shortcut_info(IntPtr path, ShortCutInfo[] shortcuts, int count, ref Outcome outcome);
  // The wide twins, on Windows.
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_service_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_part_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_area_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_weather_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_srv_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_srv_service_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_version_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_soft_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_update_data_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_get_shortcut_info_w(IntPtr path, ref Sink sink, ref Outcome outcome);
  [DllImport(L, CallingConvention = C)] public static extern int talvoro_write_shortcut_info_w(IntPtr path, ShortCutInfo[] shortcuts, int count, ref Outcome outcome);

  public static readonly bool Windows = Environment.OSVersion.Platform == PlatformID.Win32NT;

  // The path as the function takes it, in memory of its own until `use` returns.
  public static int WithPath(string path, Func<IntPtr, int> use) {
    IntPtr native;
    if (Windows) {
      native = Marshal.StringToHGlobalUni(path);
    } else {
      byte[] bytes = Encoding.UTF8.GetBytes(path + "\0");
      native = Marshal.AllocHGlobal(bytes.Length);
      Marshal.Copy(bytes, 0, native, bytes.Length);
    }
    try {
      return use(native);
    } finally {
      Marshal.FreeHGlobal(native);
    }
  }
}

class Document {
  public string File;
  public Reader Narrow, Wide;
  public Document(string file, Reader narrow, Reader wide) {
    File = file;
    Narrow = narrow;
    Wide = wide;
  }
}

static class Program {
  static readonly Document[] Documents = {
      new Document("services.xml", Native.talvoro_get_service_data, Native.talvoro_get_service_data_w),
      new Document("parts.xml", Native.talvoro_get_part_data, Native.talvoro_get_part_data_w),
      new Document("zones.xml", Native.talvoro_get_area_data, Native.talvoro_get_area_data_w),
      new Document("weather.xml", Native.talvoro_get_weather_data, Native.talvoro_get_weather_data_w),
      new Document("servers.xml", Native.talvoro_get_srv_data, Native.talvoro_get_srv_data_w),
      new Document("server-services.xml", Native.talvoro_get_srv_service_data, Native.talvoro_get_srv_service_data_w),
      new Document("version.xml", Native.talvoro_get_version, Native.talvoro_get_version_w),
      new Document("software.xml", Native.talvoro_get_soft_data, Native.talvoro_get_soft_data_w),
      new Document("updates.xml", Native.talvoro_get_update_data, Native.talvoro_get_update_data_w),
      new Document("shortcuts.xml", Native.talvoro_get_shortcut_info, Native.talvoro_get_shortcut_info_w),
  };

  static void Fail(string what) {
    Console.WriteLine("csharp host: " + what);
    Environment.Exit(1);
  }

  // A field's text up to its first zero byte, decoded for printing only: the
  // record itself keeps the bytes.
  static unsafe string Text(byte* field, int width) {
    int length = 0;
    while (length < width && field[length] != 0) ++length;
    var bytes = new byte[length];
    Marshal.Copy((IntPtr)field, bytes, 0, length);
    return Encoding.UTF8.GetString(bytes);
  }

  // Reads one document: the records of each array, and the shortcuts' files.
  static unsafe int Read(Reader narrow, Reader wide, string path, int[] counts, List<string> files) {
    var outcome = new Outcome { size = (UIntPtr)sizeof(Outcome) };
    ReserveCallback reserve = (context, array, count) => 0;
    RecordCallback record = (context, array, pointer) => {
      ++counts[array];
      if (array == Native.Shortcuts) {
        var shortcut = (ShortCutInfo)Marshal.PtrToStructure(pointer, typeof(ShortCutInfo));
        files.Add(Text(shortcut.file, 260));
      }
      return 0;
    };
    TextCallback text = (context, array, pointer, length) => {
      ++counts[array];
      return 0;
    };
    var sink = new Sink { size = (UIntPtr)Marshal.SizeOf(typeof(Sink)), reserve = reserve, record = record, text = text };
    int reason = Native.WithPath(path, p => (Native.Windows ? wide : narrow)(p, ref sink, ref outcome));
    GC.KeepAlive(reserve);
    GC.KeepAlive(record);
    GC.KeepAlive(text);
    return reason;
  }

  static unsafe int Main(string[] args) {
    if (args.Length != 2) {
      Console.WriteLine("usage: TalvoroHost EXAMPLES_DIR SHORTCUTS_XML");
      return 2;
    }
    // The structs are the library's records, byte for byte.
    if ((int)Native.talvoro_record_size(Native.Shortcuts) != sizeof(ShortCutInfo) ||
        (int)Native.talvoro_record_size(Native.Updates) != sizeof(UpdateData) ||
        (int)Native.talvoro_record_size(Native.Software) != sizeof(SoftData))
      Fail("a struct is not the size of its record");

    foreach (Document document in Documents) {
      var counts = new int[Native.Arrays];
      var files = new List<string>();
      int reason = Read(document.Narrow, document.Wide, Path.Combine(args[0], document.File), counts, files);
      if (reason != 0) Fail(document.File + ": " + Marshal.PtrToStringAnsi(Native.talvoro_reason_text(reason)));
      int total = 0;
      foreach (int count in counts) total += count;
      if (total == 0) Fail(document.File + ": nothing read");
      Console.WriteLine(document.File + ": " + total + " records and texts" +
                        (files.Count > 0 ? " (" + string.Join(", ", files) + ")" : ""));
    }

    // A shortcut list written and read back, its texts as bytes.
    string[] names = { "C:\\Tools\\quote.exe", "D:\\\u884C\u60C5\\a&b.exe" };
    var shortcuts = new ShortCutInfo[names.Length];
    for (int i = 0; i < names.Length; ++i) {
      byte[] bytes = Encoding.UTF8.GetBytes(names[i]);
      fixed (byte* file = shortcuts[i].file) Marshal.Copy(bytes, 0, (IntPtr)file, bytes.Length);
    }
    var written = new Outcome { size = (UIntPtr)sizeof(Outcome) };
    int saved = Native.WithPath(args[1], p => Native.Windows
        ? Native.talvoro_write_shortcut_info_w(p, shortcuts, shortcuts.Length, ref written)
        : Native.talvoro_write_shortcut_info(p, shortcuts, shortcuts.Length, ref written));
    if (saved != 0 || written.changed != names.Length) Fail("the shortcut list was not written");
    var readBack = new List<string>();
    if (Read(Native.talvoro_get_shortcut_info, Native.talvoro_get_shortcut_info_w, args[1],
             new int[Native.Arrays], readBack) != 0 || string.Join("|", readBack) != string.Join("|", names))
      Fail("read back: " + string.Join(", ", readBack));
    Console.WriteLine("written and read back: " + string.Join(", ", readBack));
    return 0;
  }
}
