# ThreadSanitizer build (the "tsan" preset). It cannot be combined with the
# AddressSanitizer build (LMK_SANITIZE): the two runtimes exclude each other.
# Qt itself is not instrumented; its inline mutex code in the headers is, and
# tests/tsan.supp names what remains of Qt's own reports.
option(LMK_TSAN "Build with ThreadSanitizer" OFF)
if(LMK_TSAN)
  if(LMK_SANITIZE OR LMK_FUZZ)
    message(FATAL_ERROR "LMK_TSAN cannot be combined with LMK_SANITIZE or LMK_FUZZ")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
