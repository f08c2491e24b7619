# SFML as packaging/web/build-libraries leaves it: the static system and graphics modules over
# FreeType. The window module is the game's own (src/app/web), so sfml-window links nothing.
get_filename_component(_sfml_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(NOT TARGET sfml-system)
  add_library(sfml-system STATIC IMPORTED)
  add_library(sfml-graphics STATIC IMPORTED)
  add_library(sfml-window INTERFACE IMPORTED)
  foreach(module system graphics)
    set_target_properties(sfml-${module} PROPERTIES
      IMPORTED_LOCATION "${_sfml_prefix}/lib/libsfml-${module}.a"
      INTERFACE_INCLUDE_DIRECTORIES "${_sfml_prefix}/include"
      INTERFACE_COMPILE_DEFINITIONS SFML_STATIC)
  endforeach()
  set_target_properties(sfml-window PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${_sfml_prefix}/include")
  set_target_properties(sfml-graphics PROPERTIES
    INTERFACE_LINK_LIBRARIES "sfml-window;sfml-system;${_sfml_prefix}/lib/libfreetype.a")
endif()
set(SFML_FOUND TRUE)
