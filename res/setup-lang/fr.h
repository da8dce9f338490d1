// French texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Bienvenue"
#define T_WELCOME_710 "Bienvenue dans le programme d'installation de %s. Ce programme va installer %s sur votre ordinateur."
#define T_WELCOME_720 "Il est vivement recommandé de quitter tous les programmes Windows avant d'exécuter ce programme d'installation."

#define T_INTERFACE_CAPTION "Sélection de l'interface matérielle"
#define T_INTERFACE_202 "Sélectionnez le type d'interface de votre périphérique."
#define T_INTERFACE_301 "&Interface PS/2"
#define T_INTERFACE_303 "Interface &USB (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Choix de l'emplacement de destination"
#define T_DESTINATION_202 "Le programme d'installation va installer %s dans le dossier suivant.\n\nPour l'installer dans ce dossier, cliquez sur Suivant.\n\nPour l'installer dans un autre dossier, cliquez sur Parcourir et sélectionnez un autre dossier."
#define T_DESTINATION_203 "Vous pouvez choisir de ne pas installer %s en cliquant sur Annuler pour quitter le programme d'installation."
#define T_DESTINATION_GROUP "Dossier de destination"
#define T_DESTINATION_31 "P&arcourir..."

#define T_FOLDER_CAPTION "Sélection du dossier de programmes"
#define T_FOLDER_710 "Le programme d'installation va ajouter des icônes de programme au dossier de programmes indiqué ci-dessous. Vous pouvez taper un nouveau nom de dossier ou en sélectionner un dans la liste des dossiers existants. Cliquez sur Suivant pour continuer."
#define T_FOLDER_PROGRAM_LABEL "&Dossier de programmes :"
#define T_FOLDER_EXISTING_LABEL "Dossiers e&xistants :"

#define T_SUMMARY_CAPTION "Début de l'installation"
#define T_SUMMARY_711 "Le programme d'installation est prêt à commencer l'installation. Cliquez sur Précédent pour vérifier ou modifier la configuration actuelle. Si la configuration est correcte, cliquez sur Suivant pour commencer l'installation."
#define T_SUMMARY_701 "Configuration actuelle :"

#define T_PROGRESS_CAPTION "Installation en cours"
#define T_PROGRESS_1450 "Veuillez patienter pendant que le programme d'installation copie les fichiers sur votre système."
#define T_PROGRESS_1003 "Le programme d'installation met à jour le Registre et le pilote. Veuillez patienter..."
#define T_PROGRESS_1500 "De :"
#define T_PROGRESS_2 "Vers :"

#define T_RESULT_CAPTION "Résultat de l'installation"
#define T_RESULT_711 "Le programme d'installation a installé %s avec succès.\n\nAvant de pouvoir utiliser %s, vous devez redémarrer l'ordinateur."
#define T_RESULT_502 "&Redémarrer l'ordinateur maintenant."
#define T_RESULT_503 "&Je redémarrerai l'ordinateur plus tard."
#define T_RESULT_712 "Retirez toute disquette des lecteurs, puis cliquez sur Terminer pour achever l'installation."
#define T_RESULT_713 "Le programme d'installation a installé %s avec succès.\n\nCliquez sur Terminer pour achever l'installation."
#define T_RESULT_1004 "Le programme d'installation n'a pas pu installer le pilote sur votre système."
#define T_RESULT_1005 "Vous ne disposez pas des privilèges suffisants pour installer le pilote. Ouvrez une session en tant qu'administrateur et exécutez à nouveau ce programme d'installation."
#define T_RESULT_1007 "Pour plus d'informations, consultez le fichier README.TXT ou le manuel de l'utilisateur."

#define T_EXIT_CAPTION "Quitter l'installation"
#define T_EXIT_1032 "L'installation n'est pas terminée. Si vous quittez maintenant, %s ne sera pas installé sur votre ordinateur."
#define T_EXIT_AGAIN "Vous pourrez exécuter à nouveau le programme d'installation à tout moment pour terminer l'installation."
#define T_EXIT_1033 "Pour poursuivre l'installation de %s, cliquez sur Reprendre. Pour quitter, cliquez sur Quitter l'installation."
#define T_EXIT_RESUME "&Reprendre"
#define T_EXIT_EXIT "&Quitter l'installation"
