# The game's media, drawn by make_media into the executable's folder. The
# command reruns only when the generator is rebuilt.
set(QUORBEL_MEDIA_DIR ${CMAKE_BINARY_DIR})
set(QUORBEL_MEDIA_FILES
  back0.png back1.png back2.png back3.png
  menu/back.png menu/icon.png
  smalfont.png smalfont.bmp blip.wav cheer.wav)
foreach(n RANGE 0 62)
  if(n LESS 10)
    set(n "0${n}")
  endif()
  list(APPEND QUORBEL_MEDIA_FILES vux/${n}.png)
endforeach()
list(TRANSFORM QUORBEL_MEDIA_FILES PREPEND ${QUORBEL_MEDIA_DIR}/)
# The desktop's icons are drawn with the media but installed apart from them.
set(QUORBEL_ICON_SIZES 64 256)
set(QUORBEL_ICON_FILES)
foreach(size ${QUORBEL_ICON_SIZES})
  list(APPEND QUORBEL_ICON_FILES
    ${QUORBEL_MEDIA_DIR}/icons/hicolor/${size}x${size}/apps/quorbel.png)
endforeach()

# The generator's drawings, one translation unit per concept in tools/media/.
file(GLOB QUORBEL_MEDIA_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/media/*.cpp)
add_library(quorbel_media_art STATIC ${QUORBEL_MEDIA_SOURCES})
target_link_libraries(quorbel_media_art PUBLIC quorbel_runtime)
target_link_libraries(make_media PRIVATE quorbel_media_art)

add_custom_command(
  OUTPUT ${QUORBEL_MEDIA_FILES} ${QUORBEL_ICON_FILES}
  COMMAND make_media ${QUORBEL_MEDIA_DIR}
  DEPENDS make_media
  COMMENT "Drawing the game's media"
  VERBATIM)
add_custom_target(quorbel_media ALL DEPENDS ${QUORBEL_MEDIA_FILES} ${QUORBEL_ICON_FILES})
add_dependencies(quorbel quorbel_media)

# The generator's tests run it again; make sure it is built before them.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _quorbel_media_test_dependency)
function(_quorbel_media_test_dependency)
  if(TARGET test_tools)
    add_dependencies(test_tools make_media quorbel_media)
  endif()
endfunction()
