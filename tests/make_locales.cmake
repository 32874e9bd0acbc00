# Makes the locales of the code-page tests into OUT with localedef, as a
# Chinese or Japanese host's system has them: zh_CN.GBK, zh_TW.BIG5,
# ja_JP.SJIS, zh_CN.UTF-8 (the inspector's messages in Chinese), and C.UTF-8
# (which LOCPATH hides from the system's own); and zh_TW.UTF-8 and
# ja_JP.UTF-8, in which Wine gives a Windows program the ANSI code pages 950
# and 932 and names files in UTF-8.
foreach(entry "zh_CN;GBK;zh_CN.GBK" "zh_TW;BIG5;zh_TW.BIG5" "ja_JP;SHIFT_JIS;ja_JP.SJIS"
              "zh_CN;UTF-8;zh_CN.UTF-8" "zh_TW;UTF-8;zh_TW.UTF-8" "ja_JP;UTF-8;ja_JP.UTF-8"
              "C;UTF-8;C.UTF-8")
  list(GET entry 0 source)
  list(GET entry 1 charmap)
  list(GET entry 2 name)
  if(EXISTS "${OUT}/${name}/LC_CTYPE")
    continue()
  endif()
  file(MAKE_DIRECTORY "${OUT}")
  # Shift_JIS is no superset of ASCII (0x5C is the yen sign), which
  # localedef warns of; the locale is made all the same.
  execute_process(
    COMMAND localedef --no-warnings=ascii -i ${source} -f ${charmap} "${OUT}/${name}"
    RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT EXISTS "${OUT}/${name}/LC_CTYPE")
    message(FATAL_ERROR "localedef could not make ${name} (${result}): ${error}"
                        "Its sources come with Debian's \"locales\" package.")
  endif()
endforeach()
