# The browser SDK: what `make web` installs into build-web/sdk
# (tools/web/build.sh) for games of one's own built with Emscripten. It is
# the desktop SDK's CMake package for WebAssembly: find_package(Quorbel) gives
# Quorbel::runtime, Quorbel::sbpack and quorbel_add_game(), which here makes a
# page folder. Every path in it is relative to it: copy it anywhere.
#
#   include/quorbel/...            the headers, as in the desktop SDK
#   lib/libquorbel_runtime.a       the runtime and its platform layer, and the
#   lib/libquorbel_platform.a      libraries they link (SDL2, SDL2_mixer,
#   lib/libSDL2.a ...              libpng, zlib, LZO), all WebAssembly
#   lib/cmake/Quorbel/             find_package(Quorbel) and the page writer
#   bin/sbpack                     the archive packer, a node program
#   share/quorbel/web/             the page shell and the programs' page glue
#   share/quorbel/starter/         the starter game
#   share/doc/quorbel-web/         the command reference, the libraries' licences
#
# Included at the end of tools/web/web.cmake: the options the game's own
# program links with are the ones SDK games get.
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/QuorbelSdkHeaders.cmake)

set(web_sdk sdk)
set(web_sdk_cmake_dir lib/cmake/Quorbel)
set(web_sdk_shell_dir share/quorbel/web)
# As tools/web/deps.sh builds them into QUORBEL_WEB_PREFIX.
set(QUORBEL_WEB_SDK_LIBRARIES SDL2 SDL2_mixer png16 z lzo2)

quorbel_sdk_install_headers(${web_sdk})
install(TARGETS quorbel_runtime quorbel_platform ARCHIVE DESTINATION lib COMPONENT ${web_sdk})
foreach(library IN LISTS QUORBEL_WEB_SDK_LIBRARIES)
  install(FILES ${QUORBEL_WEB_PREFIX}/lib/lib${library}.a DESTINATION lib COMPONENT ${web_sdk})
endforeach()
# Their licences, from the Debian source packages they were built from.
file(GLOB web_sdk_copyrights ${QUORBEL_WEB_PREFIX}/../src/*/debian/copyright)
foreach(copyright IN LISTS web_sdk_copyrights)
  get_filename_component(source ${copyright} DIRECTORY)
  get_filename_component(source ${source} DIRECTORY)
  get_filename_component(source ${source} NAME)
  string(REGEX REPLACE "-[0-9].*$" "" source "${source}")  # the version goes
  install(FILES ${copyright} DESTINATION share/doc/quorbel-web/${source} COMPONENT ${web_sdk})
endforeach()

# sbpack for the build machine as a node program, since a game's media are
# packed where Emscripten runs, and node comes with it. One file: node 18 and
# later have fetch, with which this Emscripten would load a .wasm beside the
# script by its path, and fail.
file(WRITE ${CMAKE_BINARY_DIR}/sdk/node_script.js "#!/usr/bin/env node\n")
add_executable(sbpack tools/sbpack.cpp)
target_link_libraries(sbpack PRIVATE quorbel_runtime)
target_link_options(sbpack PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
  -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1
  "SHELL:--extern-pre-js ${CMAKE_BINARY_DIR}/sdk/node_script.js")
set_target_properties(sbpack PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
install(PROGRAMS $<TARGET_FILE:sbpack> DESTINATION bin RENAME sbpack COMPONENT ${web_sdk})

# An SDK game links as the game's program does, with the files those options
# name installed beside the page shell. One option stays out: the game's
# program reaches every wait through direct calls and has ASYNCIFY instrument
# only those; a game of one's own may present its frames from a virtual
# function or through a function pointer, so its indirect calls are kept.
get_target_property(web_game_options quorbel LINK_OPTIONS)
string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" web_source_pattern "${CMAKE_SOURCE_DIR}")
set(QUORBEL_WEB_SDK_LINK_OPTIONS "")
set(web_sdk_glue)
foreach(option IN LISTS web_game_options)
  if(option MATCHES "^-sASYNCIFY_IGNORE_INDIRECT")
    continue()
  endif()
  string(REGEX MATCHALL "${web_source_pattern}/[^ ]+" named "${option}")
  foreach(file IN LISTS named)
    get_filename_component(name ${file} NAME)
    foreach(other IN LISTS web_sdk_glue)
      get_filename_component(other_name ${other} NAME)
      if(other_name STREQUAL name AND NOT other STREQUAL file)
        message(FATAL_ERROR "The browser SDK would install two files named ${name}: ${file}, ${other}")
      endif()
    endforeach()
    list(APPEND web_sdk_glue ${file})
    string(REPLACE "${file}" "\${PACKAGE_PREFIX_DIR}/${web_sdk_shell_dir}/${name}" option "${option}")
  endforeach()
  if(option MATCHES "${web_source_pattern}|\"|\\\\")
    message(FATAL_ERROR "The browser SDK cannot carry the link option ${option}")
  endif()
  string(APPEND QUORBEL_WEB_SDK_LINK_OPTIONS "\n  \"${option}\"")
endforeach()
list(REMOVE_DUPLICATES web_sdk_glue)
install(FILES ${web_sdk_glue} ${CMAKE_SOURCE_DIR}/web/page.html ${CMAKE_SOURCE_DIR}/web/shell.js
  ${CMAKE_SOURCE_DIR}/web/shell.css DESTINATION ${web_sdk_shell_dir} COMPONENT ${web_sdk})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuorbelWebConfig.cmake.in
  ${CMAKE_BINARY_DIR}/sdk/QuorbelConfig.cmake
  INSTALL_DESTINATION ${web_sdk_cmake_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/sdk/QuorbelConfigVersion.cmake
  VERSION ${QUORBEL_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_BINARY_DIR}/sdk/QuorbelConfig.cmake
  ${CMAKE_BINARY_DIR}/sdk/QuorbelConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/QuorbelGame.cmake
  ${CMAKE_CURRENT_LIST_DIR}/QuorbelWebPage.cmake
  DESTINATION ${web_sdk_cmake_dir} COMPONENT ${web_sdk})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/starter/ DESTINATION share/quorbel/starter
  COMPONENT ${web_sdk})
install(FILES ${CMAKE_SOURCE_DIR}/docs/commands.md DESTINATION share/doc/quorbel-web
  COMPONENT ${web_sdk})
