# Warning and sanitizer flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(ZELVO_WERROR)
  add_compile_options(-Werror)
endif()
if(ZELVO_SANITIZE)
  add_compile_options(-fsanitize=${ZELVO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${ZELVO_SANITIZE})
endif()
