# quorbel_add_game(NAME name SOURCES file...
#                  [MEDIA file...]
#                  [MEDIA_GENERATOR file.cpp MEDIA_GENERATED name...])
#
# Builds the game `name` (an executable target of that name, linked to
# Quorbel::runtime) and appends its media to the program as a packed archive,
# so that ${CMAKE_CURRENT_BINARY_DIR}/name is the whole game in one file that
# runs from any folder with nothing beside it.
#
#   MEDIA            pictures, sounds, fonts, INI files... of the project
#                    (paths relative to its source folder)
#   MEDIA_GENERATOR  a C++ program built for the build machine and run at
#                    build time with one argument, a folder, into which it
#                    writes the MEDIA_GENERATED files (names in that folder)
#
# The media are also copied (or generated) beside the program in the build
# folder, so the game finds them there as plain files before it uses the
# archive. Members are found by their file names, without folders and
# without letter case. The game reads them once it names its own program as
# the archive, right after StartEngine: SetShoebox(its own path, its own
# path). A plain file of the same name beside the program wins over the
# packed one.
#
# `strip` and `cmake --install --strip` drop what follows the program's
# sections, the media too: strip the program before it is packed, if at all.
function(quorbel_add_game)
  cmake_parse_arguments(PARSE_ARGV 0 GAME "" "NAME;MEDIA_GENERATOR"
    "SOURCES;MEDIA;MEDIA_GENERATED")
  if(NOT GAME_NAME OR NOT GAME_SOURCES)
    message(FATAL_ERROR "quorbel_add_game: NAME and SOURCES are needed")
  endif()
  if(GAME_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "quorbel_add_game: unknown arguments ${GAME_UNPARSED_ARGUMENTS}")
  endif()
  if(GAME_MEDIA_GENERATED AND NOT GAME_MEDIA_GENERATOR)
    message(FATAL_ERROR "quorbel_add_game: MEDIA_GENERATED needs a MEDIA_GENERATOR")
  endif()

  add_executable(${GAME_NAME} ${GAME_SOURCES})
  target_link_libraries(${GAME_NAME} PRIVATE Quorbel::runtime)
  set(folder ${CMAKE_CURRENT_BINARY_DIR})
  set_target_properties(${GAME_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder})

  set(media)
  foreach(file IN LISTS GAME_MEDIA)
    get_filename_component(source ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(name ${file} NAME)
    add_custom_command(
      OUTPUT ${folder}/${name}
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
      DEPENDS ${source}
      VERBATIM)
    list(APPEND media ${folder}/${name})
  endforeach()
  if(GAME_MEDIA_GENERATOR)
    set(generated ${GAME_MEDIA_GENERATED})
    list(TRANSFORM generated PREPEND ${folder}/)
    add_executable(${GAME_NAME}_media ${GAME_MEDIA_GENERATOR})
    add_custom_command(
      OUTPUT ${generated}
      COMMAND ${GAME_NAME}_media ${folder}
      DEPENDS ${GAME_NAME}_media
      COMMENT "Making the media of ${GAME_NAME}"
      VERBATIM)
    list(APPEND media ${generated})
  endif()
  if(media)
    _quorbel_append_media(${GAME_NAME} ${media})
  endif()
endfunction()

# Every link writes a fresh program and appends one archive to it; a changed
# media file relinks the program, so the archive is never appended twice.
function(_quorbel_append_media game)
  add_custom_target(${game}_media_files DEPENDS ${ARGN})
  add_dependencies(${game} ${game}_media_files)
  set_property(TARGET ${game} APPEND PROPERTY LINK_DEPENDS ${ARGN})
  add_custom_command(TARGET ${game} POST_BUILD
    COMMAND Quorbel::sbpack append $<TARGET_FILE:${game}> ${ARGN}
    COMMENT "Appending the media of ${game} to its program"
    VERBATIM)
endfunction()
