#pragma once
// Loading the models a project names into an editor context.
namespace kd820 {

class CEditorContext;
class CKV410Project;

// Reloads the four port models from the protocol ids of the project's enabled ports; a port
// whose id the library lacks keeps its previous model, a disabled port gets an empty one.
void ReloadPortModels(const CKV410Project& a_Project, CEditorContext& a_Context);
// The hardware model of the project's model id (none for an id the library lacks) and the
// port models.
void LoadProjectModels(const CKV410Project& a_Project, CEditorContext& a_Context);

}  // namespace kd820
