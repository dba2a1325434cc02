# The libraries of the web build, all static and all compiled by emcc or
# header-only. Debian ships kissfft only for the host, so its C sources come
# from Debian's source package (scripts/fetch-kissfft.sh); stb and CLI11 are
# Debian's headers. The targets carry the desktop's names so the folders link
# them the same way. There are no threads in the browser build.

set(HUSH_KISSFFT_SOURCE_DIR "" CACHE PATH
  "kissfft's sources (kiss_fft.c); empty: fetched from Debian's source package")
if(NOT HUSH_KISSFFT_SOURCE_DIR)
  execute_process(
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-kissfft.sh ${CMAKE_BINARY_DIR}/_deps/kissfft
    OUTPUT_VARIABLE fetched OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed)
  if(failed OR NOT EXISTS ${fetched}/kiss_fft.c)
    message(FATAL_ERROR "kissfft's sources could not be fetched (scripts/fetch-kissfft.sh)")
  endif()
  set(HUSH_KISSFFT_SOURCE_DIR ${fetched} CACHE PATH
    "kissfft's sources (kiss_fft.c); empty: fetched from Debian's source package" FORCE)
endif()
add_library(hush_kissfft STATIC
  ${HUSH_KISSFFT_SOURCE_DIR}/kiss_fft.c
  ${HUSH_KISSFFT_SOURCE_DIR}/kiss_fftr.c)
target_include_directories(hush_kissfft SYSTEM PUBLIC ${HUSH_KISSFFT_SOURCE_DIR})
# As Debian's kissfft-float.
target_compile_definitions(hush_kissfft PUBLIC kiss_fft_scalar=float)
target_compile_options(hush_kissfft PRIVATE -w)
add_library(PkgConfig::KISSFFT ALIAS hush_kissfft)

# Only the headers' own folders go on the include path: /usr/include holds
# the host's C library, which emcc must not see.
# stb_image's code, which Debian's libstb holds for the host, is compiled
# from its header.
set(STB_INCLUDE_DIRS /usr/include/stb)
set(stb_image_source ${CMAKE_BINARY_DIR}/_deps/stb/stb_image.c)
file(WRITE ${stb_image_source}.in "#define STB_IMAGE_IMPLEMENTATION\n#include <stb_image.h>\n")
configure_file(${stb_image_source}.in ${stb_image_source} COPYONLY)
add_library(hush_stb STATIC ${stb_image_source})
target_include_directories(hush_stb SYSTEM PUBLIC ${STB_INCLUDE_DIRS})
target_compile_options(hush_stb PRIVATE -w)
add_library(PkgConfig::STB ALIAS hush_stb)

set(cli11_include ${CMAKE_BINARY_DIR}/_deps/cli11/include)
file(MAKE_DIRECTORY ${cli11_include})
file(CREATE_LINK /usr/include/CLI ${cli11_include}/CLI SYMBOLIC)
add_library(hush_cli11 INTERFACE)
target_include_directories(hush_cli11 SYSTEM INTERFACE ${cli11_include})
add_library(CLI11::CLI11 ALIAS hush_cli11)

add_library(Threads::Threads INTERFACE IMPORTED)
