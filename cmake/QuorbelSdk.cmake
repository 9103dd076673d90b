# The SDK: what a programmer installs to write a game of their own on the
# runtime. Everything here belongs to the install component `sdk`, packaged as
# libquorbel-dev beside the game's own package `quorbel` (component `game`).
#
#   include/quorbel/runtime.h           the one header a game includes, with the
#   include/quorbel/runtime/...         headers it needs in their source layout
#   LIB/libquorbel_runtime.a            the runtime
#   LIB/libquorbel_platform.a           its SDL2/POSIX platform layer
#   LIB/cmake/Quorbel/                  find_package(Quorbel): Quorbel::runtime,
#                                       Quorbel::sbpack, quorbel_add_game()
#   LIB/pkgconfig/quorbel.pc            pkg-config --cflags --libs quorbel
#   bin/sbpack                          the archive packer (and its manual page)
#   share/quorbel/starter/              a starter game to copy
#   share/doc/libquorbel-dev/           the command reference
#
# The browser SDK (QuorbelWebSdk.cmake) is no part of this package: `make web`
# installs it into build-web/sdk, since building it takes Emscripten and the
# browser build's libraries, which the Debian packages are made without.
include(CMakePackageConfigHelpers)

set(QUORBEL_SDK_COMPONENT sdk)
# LIB: the libraries are built for one architecture, so on Debian they go to
# its multiarch folder (lib/x86_64-linux-gnu), where the compilers, CMake and
# pkg-config all look; elsewhere to lib.
set(QUORBEL_SDK_LIBDIR lib)
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(QUORBEL_SDK_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()
set(QUORBEL_SDK_CMAKE_DIR ${QUORBEL_SDK_LIBDIR}/cmake/Quorbel)
# The libraries the runtime and its platform layer link, as pkg-config knows
# them; the CMake package and quorbel.pc both ask for exactly these.
set(QUORBEL_SDK_PKG_MODULES sdl2 SDL2_mixer lzo2 libpng zlib
  libavformat libavcodec libswscale libavutil gl)

include(${CMAKE_CURRENT_LIST_DIR}/QuorbelSdkHeaders.cmake)
quorbel_sdk_install_headers(${QUORBEL_SDK_COMPONENT})

install(TARGETS quorbel_runtime quorbel_platform ARCHIVE DESTINATION ${QUORBEL_SDK_LIBDIR}
  COMPONENT ${QUORBEL_SDK_COMPONENT})
# Stripping leaves static libraries alone (their symbols are all they have);
# a stripped install still drops their debugging sections, most of their size.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP AND EXISTS \"${CMAKE_STRIP}\")
    foreach(library libquorbel_runtime.a libquorbel_platform.a)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUORBEL_SDK_LIBDIR}/\${library}\")
    endforeach()
  endif()" COMPONENT ${QUORBEL_SDK_COMPONENT})
install(TARGETS sbpack RUNTIME DESTINATION bin COMPONENT ${QUORBEL_SDK_COMPONENT})
# Manual pages go compressed as Debian wants them: best compression, no time stamp.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/sdk)
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/sbpack.1
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/sdk/sbpack.1.gz COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY
  CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/sbpack.1)
install(FILES ${CMAKE_BINARY_DIR}/sdk/sbpack.1.gz DESTINATION share/man/man1
  COMPONENT ${QUORBEL_SDK_COMPONENT})

# The CMake package finds its files relative to its own folder, and the
# pkg-config file relative to its own (${pcfiledir}), so both work in any
# prefix: /usr from the Debian package, a scratch folder in the tests.
string(REPLACE ";" " " QUORBEL_SDK_PKG_REQUIRES "${QUORBEL_SDK_PKG_MODULES}")
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuorbelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/sdk/QuorbelConfig.cmake
  INSTALL_DESTINATION ${QUORBEL_SDK_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/sdk/QuorbelConfigVersion.cmake
  VERSION ${QUORBEL_VERSION} COMPATIBILITY SameMinorVersion)
file(RELATIVE_PATH QUORBEL_SDK_PC_PREFIX /${QUORBEL_SDK_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" QUORBEL_SDK_PC_PREFIX "${QUORBEL_SDK_PC_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/quorbel.pc.in ${CMAKE_BINARY_DIR}/sdk/quorbel.pc @ONLY)
install(FILES
  ${CMAKE_BINARY_DIR}/sdk/QuorbelConfig.cmake
  ${CMAKE_BINARY_DIR}/sdk/QuorbelConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/QuorbelGame.cmake
  DESTINATION ${QUORBEL_SDK_CMAKE_DIR} COMPONENT ${QUORBEL_SDK_COMPONENT})
install(FILES ${CMAKE_BINARY_DIR}/sdk/quorbel.pc DESTINATION ${QUORBEL_SDK_LIBDIR}/pkgconfig
  COMPONENT ${QUORBEL_SDK_COMPONENT})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/starter/ DESTINATION share/quorbel/starter
  COMPONENT ${QUORBEL_SDK_COMPONENT})
install(FILES ${CMAKE_SOURCE_DIR}/docs/commands.md DESTINATION share/doc/libquorbel-dev
  COMPONENT ${QUORBEL_SDK_COMPONENT})

# Two Debian packages from one build: the game as before, and the SDK.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game ${QUORBEL_SDK_COMPONENT})
set(CPACK_DEBIAN_GAME_PACKAGE_NAME quorbel)
set(CPACK_DEBIAN_SDK_PACKAGE_NAME libquorbel-dev)
set(CPACK_DEBIAN_SDK_PACKAGE_SECTION libdevel)
# CPack puts the one shared summary line above every package's description;
# each package has its own instead, the game's taken from the shared one.
set(CPACK_COMPONENT_GAME_DESCRIPTION
  "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_PACKAGE_DESCRIPTION}")
unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
string(CONCAT CPACK_COMPONENT_SDK_DESCRIPTION
  "Quorbel game runtime: headers, libraries and tools to write games\n"
  "The 2D game runtime under the Quorbel party game, for games of your own: a\n"
  "window with OpenGL drawing, sprites and bitmap fonts, sound, keyboard, mouse\n"
  "and joystick input, packed media archives, images, file and INI commands,\n"
  "grid path finding, HTTP download, music and movies. It holds the header\n"
  "quorbel/runtime.h, static libraries, a CMake package (find_package(Quorbel))\n"
  "and a pkg-config file (quorbel), the archive packer sbpack, which appends a\n"
  "game's media to its program, and a starter game.")
# The headers and libraries a game is built with, and what SDL opens at run
# time (OpenGL, EGL, Mesa where there is no other driver) for the games built.
string(JOIN ", " CPACK_DEBIAN_SDK_PACKAGE_DEPENDS
  libsdl2-dev libsdl2-mixer-dev libpng-dev zlib1g-dev liblzo2-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libgl-dev
  pkg-config libgl1 libegl1 libgl1-mesa-dri)
set(CPACK_DEBIAN_SDK_PACKAGE_RECOMMENDS "cmake, g++")
