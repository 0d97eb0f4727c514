// Subcommands of the command-line editor.
