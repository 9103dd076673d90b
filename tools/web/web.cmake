# The browser build: the game and every example compiled to WebAssembly with
# Emscripten, from the same sources as the desktop, against SDL2, SDL2_mixer,
# libpng, zlib and LZO built from Debian's sources into QUORBEL_WEB_PREFIX
# (tools/web/deps.sh). tools/web/build.sh configures this with emcmake; the
# programs land in the build folder as NAME.js and NAME.wasm, which
# tools/web/make_site.py puts into the site with their pages and media.
set(QUORBEL_WEB_PREFIX "" CACHE PATH "Where tools/web/deps.sh installed the libraries")
if(NOT QUORBEL_WEB_PREFIX)
  message(FATAL_ERROR "QUORBEL_WEB_PREFIX names the libraries built by tools/web/deps.sh")
endif()

add_compile_options(-O2 "SHELL:-include ${CMAKE_SOURCE_DIR}/tools/web/StdCompat.h")

set(web_include ${QUORBEL_WEB_PREFIX}/include)
foreach(library SDL2 SDL2_mixer png16 z lzo2)
  add_library(web_${library} STATIC IMPORTED)
  set_target_properties(web_${library} PROPERTIES
    IMPORTED_LOCATION ${QUORBEL_WEB_PREFIX}/lib/lib${library}.a
    INTERFACE_INCLUDE_DIRECTORIES "${web_include}")
endforeach()
set_target_properties(web_SDL2 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
  "${web_include};${web_include}/SDL2")
set_target_properties(web_SDL2_mixer PROPERTIES
  INTERFACE_LINK_LIBRARIES web_SDL2)
set_target_properties(web_png16 PROPERTIES INTERFACE_LINK_LIBRARIES web_z)

# The platform layer: the desktop's SDL2 files, with the browser's stand-ins
# (runtime/platform/web/) for what a page has no SDL form of: frames timed by
# animation frames, movies, sockets.
file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS runtime/platform/*.cpp runtime/platform/web/*.cpp)
list(REMOVE_ITEM PLATFORM_SOURCES
  ${CMAKE_SOURCE_DIR}/runtime/platform/PlatformMovie.cpp
  ${CMAKE_SOURCE_DIR}/runtime/platform/PlatformNet.cpp)
add_library(quorbel_platform STATIC ${PLATFORM_SOURCES})
target_include_directories(quorbel_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quorbel_platform PRIVATE web_SDL2 web_SDL2_mixer)

file(GLOB_RECURSE RUNTIME_SOURCES CONFIGURE_DEPENDS runtime/*.cpp)
list(FILTER RUNTIME_SOURCES EXCLUDE REGEX "/runtime/platform/")
add_library(quorbel_runtime STATIC ${RUNTIME_SOURCES})
target_include_directories(quorbel_runtime PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quorbel_runtime PUBLIC quorbel_platform PRIVATE web_lzo2 web_png16)

file(GLOB GAME_SOURCES CONFIGURE_DEPENDS game/*.cpp)
list(REMOVE_ITEM GAME_SOURCES ${CMAKE_SOURCE_DIR}/game/main.cpp)
add_library(quorbel_game STATIC ${GAME_SOURCES})
target_link_libraries(quorbel_game PUBLIC quorbel_runtime)

# Each program: main() runs when the page says so (after the player's first
# click or key), suspended and resumed around every wait (ASYNCIFY).
set(QUORBEL_WEB_LINK_OPTIONS
  -O2
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  # Only direct calls lead to a wait (the runtime's programs add the window
  # procedure's, below): the rest of a program (libpng's and zlib's loops
  # among it) runs uninstrumented, a quarter smaller.
  -sASYNCIFY_IGNORE_INDIRECT=1
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
  "-sEXPORTED_RUNTIME_METHODS=[callMain,FS]"
  # SDL's audio callback calls into the program through dynCall.
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/tools/web/library_functions.json
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  -sENVIRONMENT=web
  -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1 -sOFFSCREEN_FRAMEBUFFER=1
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/runtime/platform/web/ProgramFolder.js"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/runtime/platform/web/BackBuffer.js")

function(quorbel_web_program target)
  target_link_options(${target} PRIVATE ${QUORBEL_WEB_LINK_OPTIONS})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    ${CMAKE_SOURCE_DIR}/runtime/platform/web/ProgramFolder.js
    ${CMAKE_SOURCE_DIR}/runtime/platform/web/BackBuffer.js)
  set_target_properties(${target} PROPERTIES SUFFIX ".js"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/programs)
endfunction()

# The message dispatch calls the window procedure through a pointer, and it
# may wait (a close ends the program, which writes its files back).
function(quorbel_web_runtime_program target)
  quorbel_web_program(${target})
  target_link_options(${target} PRIVATE
    -sASYNCIFY_ADD=@${CMAKE_SOURCE_DIR}/tools/web/asyncify_add.json)
endfunction()

add_executable(quorbel game/main.cpp)
target_link_libraries(quorbel PRIVATE quorbel_game)
quorbel_web_runtime_program(quorbel)

set(QUORBEL_EXAMPLES sprites text sound input pathfind offscreen download archive)
foreach(name ${QUORBEL_EXAMPLES})
  add_executable(example_${name} examples/${name}.cpp)
  target_link_libraries(example_${name} PRIVATE quorbel_runtime)
  quorbel_web_runtime_program(example_${name})
endforeach()

# The bare program the start-up benchmark measures the page against.
add_executable(bare_window bench/web/bare_window.cpp)
target_link_libraries(bare_window PRIVATE web_SDL2)
quorbel_web_program(bare_window)

# The browser SDK for games of one's own (`make web` installs it).
include(cmake/QuorbelWebSdk.cmake)
